// Opens a topic of the help file "Cumulon.chm" in its "MainWindow" window,
// owned by the desktop.
#ifndef CUMULON_HELP_H
#define CUMULON_HELP_H

void OpenHelpTopic(const char* topicFile);

#endif
