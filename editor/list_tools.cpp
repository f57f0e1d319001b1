#include "editor/list_tools.h"

#include <algorithm>

#include "editor/add_records.h"
#include "editor/edit_objects.h"
#include "editor/status_message.h"
#include "editor/view_transform.h"

namespace {

constexpr int kSelectionColour = 0xFFFF40;
constexpr int kRubberBandColour = 0xFFFFFF;

// Outlines a box given in level pixels.
void OutlineLevelBox(BITMAP* dest, const LevelBox& b, int colour) {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  LevelToWindow(b.x0, b.y0, x0, y0);
  LevelToWindow(b.x1, b.y1, x1, y1);
  rect(dest, x0, y0, x1 - 1, y1 - 1, colour);
}

}  // namespace

template <class R>
LevelBox RecordListTool<R>::RubberBand::Box() const {
  return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1) + 1, std::max(y0, y1) + 1};
}

template <class R>
void RecordListTool<R>::Activate(CCamera& camera) {
  band_.active = false;
  list.Follow(camera.lvl);
}

template <class R>
std::string RecordListTool<R>::StatusText() const {
  return list.SharedBy() > 1 ? "shared by " + std::to_string(list.SharedBy()) + " levels" : "";
}

template <class R>
void RecordListTool<R>::Deactivate() {
  list.EndMove();
  band_.active = false;
}

template <class R>
void RecordListTool<R>::MousePress(CCamera&, const InputSnapshot& in) {
  if (Busy() || !in.in_view) return;
  const int hit = list.HitTest(in.lx, in.ly);
  if (hit < 0) {
    if (in.double_click && !in.shift && DoubleClickOnGround(in.lx, in.ly)) return;
    band_ = {true, in.shift, in.lx, in.ly, in.lx, in.ly};
    return;
  }
  if (in.shift) {
    list.Click(in.lx, in.ly, true);
    return;
  }
  if (!list.Selected(static_cast<std::size_t>(hit))) list.Click(in.lx, in.ly, false);
  if (in.double_click && DoubleClick()) return;
  list.BeginMove(in.lx, in.ly);
}

template <class R>
void RecordListTool<R>::MouseMove(CCamera&, const InputSnapshot& in) {
  if (list.Moving()) list.MoveTo(in.lx, in.ly);
  if (band_.active) {
    band_.x1 = in.lx;
    band_.y1 = in.ly;
  }
}

template <class R>
void RecordListTool<R>::MouseRelease(CCamera&, const InputSnapshot& in) {
  if (list.Moving()) {
    list.MoveTo(in.lx, in.ly);
    list.EndMove();
  }
  if (!band_.active) return;
  band_.x1 = in.lx;
  band_.y1 = in.ly;
  band_.active = false;
  if (band_.x0 == band_.x1 && band_.y0 == band_.y1) {
    if (!band_.add) list.ClearSelection();
  } else {
    list.SelectBox(band_.Box(), band_.add);
  }
}

template <class R>
void RecordListTool<R>::Draw(BITMAP* dest, const CCamera&) const {
  for (std::size_t i = 0; i < list.Records().size(); ++i) {
    if (list.Selected(i)) OutlineLevelBox(dest, list.Boxes()[i], kSelectionColour);
  }
  if (band_.active) OutlineLevelBox(dest, band_.Box(), kRubberBandColour);
}

template <class R>
bool RecordListTool<R>::Copy() {
  const std::size_t n = list.SelectedCount();
  if (!list.CopySelection()) return false;
  ShowStatusMessage("Copied " + list.Count(n));
  return true;
}

template <class R>
bool RecordListTool<R>::Delete() {
  const std::size_t n = list.SelectedCount();
  if (!list.DeleteSelection()) return false;
  ShowStatusMessage("Deleted " + list.Count(n));
  return true;
}

template <class R>
bool RecordListTool<R>::Paste(int x, int y) {
  std::string why;
  if (list.Paste(x, y, why)) {
    if (!list.Note().empty()) ShowStatusMessage(list.Note());  // the list moved to make room
    return true;
  }
  ShowStatusMessage("Paste: nothing changed. " + why);
  return false;
}

template <class R>
bool RecordListTool<R>::Duplicate() {
  std::string why;
  if (list.Duplicate(why)) {
    if (!list.Note().empty()) ShowStatusMessage(list.Note());
    return true;
  }
  ShowStatusMessage("Duplicate: nothing changed. " + why);
  return false;
}

template <class R>
bool RecordListTool<R>::SelectAll() {
  list.SelectAll();
  return true;
}

template class RecordListTool<QBR1RawObject>;
template class RecordListTool<QBR1RawBanana>;

namespace {

// Insert adds at the mouse, which must point into the view.
bool InsertAt(const InputSnapshot& in) {
  if (!in.PlainPressed(KEY_INSERT)) return false;
  if (!in.in_view) ShowStatusMessage("Insert adds at the mouse: point into the view first");
  return in.in_view;
}

}  // namespace

void ObjectsTool::Keys(CCamera&, const InputSnapshot& in) {
  list.MirrorView(in.MirrorsObjects());  // hit and outline the objects as the view draws them
  const bool enter = in.PlainPressed(KEY_ENTER) || in.PlainPressed(KEY_ENTER_PAD);
  if (enter && !Busy() && list.SelectedCount() > 0) ChooseObjectDefinition(list);
  if (!Busy() && InsertAt(in)) AddObjectAt(list, in.lx, in.ly);
}

bool ObjectsTool::DoubleClickOnGround(int x, int y) {
  AddObjectAt(list, x, y);
  return true;
}

void BananaMapTool::Keys(CCamera&, const InputSnapshot& in) {
  if (!Busy() && InsertAt(in)) AddBananaGroupAt(list, in.lx, in.ly);
}

bool ObjectsTool::DoubleClick() {
  ChooseObjectDefinition(list);
  return true;
}
