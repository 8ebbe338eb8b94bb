// How big a balloon is, as arithmetic on what its parts measure: as wide as
// its content up to a readable measure, as tall as its content up to the
// room beside the character, with the text and the label list sharing what
// is left and scrolling when they do not fit. The widget measures its parts
// and applies the result (balloonwidgetsizing.cpp).
#pragma once

namespace balloon
{

// Widths of the parts on one line; 0 for a part the balloon does not have.
struct WidthParts {
    int readable = 0; // the longest comfortable line
    int room = 0;     // the widest the content may be
    int heading = 0;  // icon and heading side by side
    int text = 0;     // the text laid out at the readable measure
    bool input = false;
    int labels = 0;    // the widest label with the list's frame and scroll bar
    int buttonRow = 0; // the buttons side by side
};

int contentWidth(const WidthParts &parts);

// What the parts that do not scroll take, and what the two that do want.
struct HeightParts {
    int fixed = 0;     // heading, separator, input, buttons and the spacing
    int available = 0; // the room for the whole content
    bool text = false;
    int textWanted = 0; // at the content width, within roomToShare()
    bool labels = false;
    int labelCount = 0;
    int rowHeight = 0;  // of one label
    int frameWidth = 0; // of the label list
};

struct Heights {
    int text = 0;
    bool textScrolls = false;
    int labels = 0;
    int content = 0; // everything together
};

// What the text and the labels share: never less than a few lines.
int roomToShare(const HeightParts &parts);
Heights shareHeights(const HeightParts &parts);

} // namespace balloon
