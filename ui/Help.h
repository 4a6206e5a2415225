#pragma once
// The help page: an HTML page shipped inside the program, written out to the user's cache
// folder and opened in the default browser.
#include <QString>

// Writes the page out (when it differs from what is there) and returns its path; empty on failure.
QString WriteHelpPage(const QString& folder);
// Opens the page in the browser; false when it could not be written or opened.
bool OpenHelpPage();
