#pragma once
// Header captions too long for their sections end in "…", where the style would cut them off
// through a letter ("Описани").
class QHeaderView;

// Gives the header a style of its own (the application's, with cut captions ending in "…").
void EndCutCaptionsInEllipsis(QHeaderView* header);
