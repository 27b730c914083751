#pragma once

#include <span>

#include "document/drawing.h"
#include "geometry/geometry.h"
#include "model/entity.h"
#include "model/entity_visit.h"
#include "model/parsed_entity.h"
#include "view/canvas.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

// Finding the entity under the mouse. Distances are measured in screen pixels between the mouse
// and the entity's points taken to the screen, as the user sees them; the parsed records are
// never read again from text. Picking runs on every mouse move, so each entity's world box is
// tried first and only the few near the mouse are taken to pixels.

namespace blok {

// An entity further than this from the mouse is not picked.
inline constexpr float kPickReach = 10;
// The two-nearest search, which feeds the intersection snap, looks this far.
inline constexpr float kPairReach = 100;
// The distance of anything that is not a readable entity.
inline constexpr float kNoDistance = 100000;

// The mouse pixel grown by a margin of some pixels, in world units. An entity whose world box
// misses it lies further than the margin from the mouse, so its pixels need not be worked out.
class MouseWindow {
 public:
  MouseWindow(const ViewTransform& view, int x, int y, double pixels);
  // Round a world point by a margin in world units.
  MouseWindow(Point centre, double margin)
      : left_(centre.x - margin),
        right_(centre.x + margin),
        bottom_(centre.y - margin),
        top_(centre.y + margin) {}
  bool Meets(const WorldBox& box) const {
    return !box.empty() && box.left <= right_ && box.right >= left_ && box.bottom <= top_ &&
           box.top >= bottom_;
  }
  // A compact box holds its entity's world box: missing it, that box misses too. Run on every
  // entity of a large drawing, without a branch on each side: which way a side goes is
  // anybody's guess.
  bool Meets(const CompactBox& box) const {
    return (box.left <= right_) & (box.right >= left_) & (box.bottom <= top_) &
           (box.top >= bottom_);
  }
  // The same for the box grown by a further world distance on every side.
  bool Meets(const WorldBox& box, double grown) const {
    return !box.empty() && box.left - grown <= right_ && box.right + grown >= left_ &&
           box.bottom - grown <= top_ && box.top + grown >= bottom_;
  }

 private:
  double left_, right_, bottom_, top_;
};

// The segment a text is picked by, in world units: parallel to the baseline, 0.2 x height above
// it, as long as the text's estimated length.
struct TextPickSegment {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
TextPickSegment PickSegmentOfText(const TextRecord& text, const StrokeFont& font);

// Whether an entity can measure below a reach from the mouse, judged by its world box: false
// only for entities that cannot.
class ReachTest {
 public:
  ReachTest(const ViewTransform& view, const StrokeFont& font, int x, int y, float reach);
  // It runs for every entity on every mouse move; a call there costs more than the test.
  [[gnu::always_inline]] bool MayReach(const ParsedEntity& entity) const {
    bool may = false;
    const Overloaded reach{
        [&](const LineEntity&) { may = segment_window_.Meets(entity.box); },
        [&](const RectangleEntity&) { may = segment_window_.Meets(entity.box); },
        [&](const CircleRecord&) { may = circle_window_.Meets(entity.box); },
        [&](const ArcRecord&) { may = circle_window_.Meets(entity.box); },
        [&](const TextRecord& text) { may = TextMayReach(entity.box, text); },
        [](const ColourRecord&) {},
        [](const ThicknessRecord&) {},
    };
    VisitEntity(entity, reach);
    return may;
  }
  // The same for an entity of any kind by its compact box alone (a text's holds everything).
  bool MayReach(const CompactBox& box) const { return widest_window_.Meets(box); }
  // Only entities nearer than reach are wanted from now on: a search that has found what
  // beats anything farther looks no farther.
  void Narrow(float reach);

 private:
  bool TextMayReach(const WorldBox& box, const TextRecord& text) const;

  Point mouse_;  // world units
  double world_per_pixel_;
  MouseWindow segment_window_;
  MouseWindow circle_window_;
  MouseWindow widest_window_;  // the larger of the two
  double widest_advance_;      // font units
};

// The pixel distance of the mouse (x, y) from the circle round (cx, cy) of radius r, its centre
// and radius taken to pixels.
float OutlinePixelDistance(const ViewTransform& view, double cx, double cy, double r, int x, int y);

// The pixel distance of the mouse (x, y) from the drawn sweep of an arc: from its circle where
// the mouse's direction from the centre lies on the sweep, else from the nearer end. A distance
// of `beyond` or more may come back as any other such distance: the circle's, without the
// sweep's trigonometry.
float ArcPixelDistance(const ViewTransform& view, const ArcRecord& arc, int x, int y,
                       float beyond = kNoDistance);

// What a text measures with the mouse over its letters: a line or an outline drawn across them
// is still picked on its own pixels, and the text wins anywhere else over its letters.
inline constexpr float kOnTextLetters = 2;

// The pixel distance of the entity from the mouse (x, y): to a line, to the nearest edge of a
// rectangle, to a circle, to an arc's drawn sweep, to the box a text's letters occupy (never
// less than kOnTextLetters; a text without strokes to its insertion point). Segments and texts
// more than 10 pixels beyond their box measure 10000; non-entities measure kNoDistance. A
// search that has no use for distances of `beyond` or more passes it, and such a distance may
// come back as any other of them.
float EntityPixelDistance(const ParsedEntity& entity, const ViewTransform& view,
                          const StrokeFont& font, int x, int y, float beyond = kNoDistance);

// The index of the nearest entity within kPickReach of (x, y), or -1; of equal distances the
// earlier line wins.
int FindNearestEntity(std::span<const ParsedEntity> records, const ViewTransform& view,
                      const StrokeFont& font, int x, int y);
// The same over a drawing: its compact boxes are read first, so that only the records of the
// entities near the mouse are.
int FindNearestEntity(const Drawing& drawing, const ViewTransform& view, const StrokeFont& font,
                      int x, int y);

struct NearestPair {
  int nearest = -1;
  int second = -1;
  bool operator==(const NearestPair&) const = default;
};
// The nearest and second nearest entities closer than kPairReach, -1 where there is none.
NearestPair FindTwoNearestEntities(std::span<const ParsedEntity> records, const ViewTransform& view,
                                   const StrokeFont& font, int x, int y);

// The same search an entity at a time, for a caller that walks the records anyway. Entities
// must be offered in drawing order.
class NearestPairSearch {
 public:
  NearestPairSearch(const ViewTransform& view, const StrokeFont& font, int x, int y);
  void Offer(const ParsedEntity& entity, int index);
  // Whether the entity of this compact box could change the pair: when not, it need not be
  // offered.
  bool Wants(const CompactBox& box) const { return reach_.MayReach(box); }
  const NearestPair& pair() const { return pair_; }

 private:
  const ViewTransform& view_;
  const StrokeFont& font_;
  int x_;
  int y_;
  ReachTest reach_;
  float best_ = kPairReach;
  float second_ = kPairReach;
  NearestPair pair_;
};

// FindNearestEntity, and the entity found drawn highlighted on the overlay with the colour and
// thickness in force at it (the commands below it say them; of the pass's defaults only the
// decimal separator is read). The caller keeps the line at the returned index as the picked
// entity's text.
int PickAndHighlight(Canvas& overlay, std::span<const ParsedEntity> records,
                     const ViewTransform& view, const StrokeFont& font,
                     const ReadingDefaults& defaults, int x, int y);
// The same over a drawing, by its compact boxes first.
int PickAndHighlight(Canvas& overlay, const Drawing& drawing, const ViewTransform& view,
                     const StrokeFont& font, const ReadingDefaults& defaults, int x, int y);
// That with the entity's thickness label, for the edit command's pick.
int PickAndShowThickness(Canvas& overlay, const Drawing& drawing, const ViewTransform& view,
                         const StrokeFont& font, const ReadingDefaults& defaults, int x, int y);

}  // namespace blok
