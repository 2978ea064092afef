"""The sample weather service: feeds, pictures and the HTTP server that serves them."""
