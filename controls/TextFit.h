#pragma once

class QGroupBox;
class QWidget;

// The windows keep the design's geometry, which was measured for a narrower,
// shorter font than ours and for frames whose title sat on their top border.
// These fit our texts into that geometry, moving as little of it as they can.
// Run them once the widget's font and style are those it will be shown with.
namespace textfit {

// A label, option or check box whose text needs more room than its box grows
// about its design place: it keeps the edge where its text starts (the right
// edge of a right-to-left text) and its vertical centre.
void growToText(QWidget *widget);

// Fits the content of a frame to the texts it shows and to the room the
// style's title takes:
// - each label, option and check box takes the height its text needs about
//   its design centre and grows in width as growToText does; where a
//   neighbour on its line is in the way, both move apart as far as the
//   frame allows, keeping the design's gap between them;
// - the content moves down as a whole below the title; what then passes the
//   frame's bottom is taken from the gaps between its lines, lowest first,
//   and then from free room below the frame, into which the frame grows.
void fitFrame(QGroupBox *frame);

} // namespace textfit
