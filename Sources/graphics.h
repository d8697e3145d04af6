// Rubber-band zoom in the front plot window.
#pragma once

#include "../maps.h"

// Tracks a dragged rectangle from the mouse-down in the front plot window and
// sets new view bounds: type 1 zooms in to the rectangle, any other type
// zooms out by it. A drag without extent, a cancelled drag and a zoom whose
// view could not be shown leave the view as it was.
void dragCoordinates(int type);

// Tracks the drag in the front plot window with a rubber band drawn by
// inverting pixels (the plot's context is current). On return stPt is where
// the drag started and endPt where it ended, window coordinates, squared
// against stPt when Shift was down, as the band shows it. False when the
// user cancelled (Escape or Command-period); the band is then gone.
Boolean dragRect(Point& stPt, Point& endPt);

// Moves the corner apt vertically so that the rectangle with the fixed
// corner bpt is square: same side as before, above bpt when level with it.
void Constrain(Point* apt, Point bpt);

// View bounds in map coordinates.
struct ViewBounds {
  double xmn;
  double xmx;
  double ymn;
  double ymx;
};

enum class ZoomOutcome {
  applied,     // the view holds the new bounds
  noExtent,    // the rectangle is flat along an axis: nothing to zoom to
  outOfRange,  // the new view could not be shown: a bound, an extent or a scale not finite
};

// The zoom arithmetic: the view after a drag between the map points v and w
// (any two opposite corners) in a window of width x height pixels. Type 1
// makes the rectangle the view; any other type scales the view about the
// rectangle's centre by the ratio of the view to the rectangle, per axis.
// The view changes only when the outcome is applied.
ZoomOutcome zoomBounds(int type, vect v, vect w, int width, int height, ViewBounds& view);
