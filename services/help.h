// Opens a topic of the help file "Cumulon.chm" in one of its windows
// ("MainWindow" unless told; the alert map's legend has a window of its own),
// owned by the desktop.
#ifndef CUMULON_HELP_H
#define CUMULON_HELP_H

void OpenHelpTopic(const char* topicFile, const char* window = "MainWindow");

#endif
