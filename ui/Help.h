#pragma once
// The help page: an HTML page shipped inside the program, written out to the user's cache
// folder and opened in the default browser.
#include <QString>

// Writes the page out (when it differs from what is there) and returns its path; empty on failure.
QString WriteHelpPage(const QString& folder);
// Writes the page out and opens it in the browser: the page's path (empty when it could not be
// written) and whether a browser took it.
struct THelpPage {
    QString Path;
    bool Opened = false;
};
THelpPage OpenHelpPage();
