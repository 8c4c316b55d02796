#include "setup/dialog/dialog_layout.h"

#include <array>
#include <cstdint>

namespace slidewell::setup {
namespace {

constexpr int kTwipsPerInch = 1440;

constexpr std::wstring_view kIntervalHelp = L"Time between two pictures";

using enum ControlKind;

// Each control keeps to a line or two, so that the table reads as a table.
// clang-format off
constexpr std::array kControls{
  // First, so that no control comes directly after it: a label names the control after it, and
  // "seconds" names nothing. Nothing else lies in the first row: it may run on up to the column of
  // "Add" and "Remove".
  ControlLayout{.name = L"Label1", .id = ControlId::SecondsLabel, .kind = Label, .caption = L"seconds",
                .place = {2280, 120, 615, 255}, .help = kIntervalHelp, .textReach = 3360},
  // Right-aligned, it ends one pixel (at 96 DPI) before `temps`, at the end of its reach.
  ControlLayout{.name = L"CHan", .id = ControlId::ChangeLabel, .kind = Label, .caption = L"Change picture every :",
                .place = {0, 120, 1695, 255}, .rightAligned = true, .help = kIntervalHelp, .textReach = 1785},
  ControlLayout{.name = L"temps", .id = ControlId::Interval, .kind = TextBox, .caption = L"3",
                .place = {1800, 120, 375, 285}, .border = true, .tabIndex = 0, .help = kIntervalHelp},
  // The drive list raises no mouse events, so the help line stays as it is over it.
  ControlLayout{.name = L"Drive1", .id = ControlId::Drives, .kind = DriveList, .caption = L"",
                .place = {120, 480, 2295, 315}, .tabIndex = 1, .accessibleName = L"Drive"},
  ControlLayout{.name = L"Dir1", .id = ControlId::Folders, .kind = FolderList, .caption = L"",
                .place = {120, 840, 2295, 1155}, .border = true, .tabIndex = 2, .help = L"Picture's folder",
                .accessibleName = L"Folder"},
  ControlLayout{.name = L"File1", .id = ControlId::Files, .kind = FileList, .caption = L"",
                .place = {2520, 480, 2055, 1425}, .border = true, .tabIndex = 3, .help = L"Please select your picture",
                .accessibleName = L"Pictures in this folder"},
  ControlLayout{.name = L"add", .id = ControlId::Add, .kind = PushButton, .caption = L"Add",
                .place = {3360, 1920, 1215, 375}, .enabled = false, .tabIndex = 4, .help = L"Click here to add the selected picture"},
  ControlLayout{.name = L"remove", .id = ControlId::Remove, .kind = PushButton, .caption = L"Remove",
                .place = {3360, 2400, 1215, 375}, .enabled = false, .tabIndex = 5,
                .help = L"Click here to remove the selected picture in the list"},
  ControlLayout{.name = L"picture1", .id = ControlId::PreviewBox, .kind = Image, .caption = L"",
                .place = {4800, 1680, 1215, 975}, .border = true, .help = L"Preview of the picture"},
  // Directly before the list it names. It ends where the list begins rather than 15 twips inside it,
  // so that no control lies over a label and the window order is free to follow the names.
  ControlLayout{.name = L"t", .id = ControlId::ListLabel, .kind = Label, .caption = L"Pictures to show :",
                .place = {120, 2520, 1455, 240}},
  ControlLayout{.name = L"List1", .id = ControlId::PictureList, .kind = ListBox, .caption = L"",
                .place = {120, 2760, 4455, 1815}, .border = true, .tabIndex = 6,
                .help = L"Pictures to show when the Screen saver is active"},
  ControlLayout{.name = L"Preview", .id = ControlId::Preview, .kind = CheckBox, .caption = L"Preview",
                .place = {4800, 2760, 1215, 255}, .checked = true, .tabIndex = 7, .help = L"Click here to see the selected picture"},
  ControlLayout{.name = L"Command1", .id = ControlId::Ok, .kind = PushButton, .caption = L"OK",
                .place = {4800, 3840, 1215, 375}, .tabIndex = 8, .help = L"Save configuration and quit"},
  ControlLayout{.name = L"Command2", .id = ControlId::Cancel, .kind = PushButton, .caption = L"Cancel",
                .place = {4800, 4320, 1215, 375}, .tabIndex = 9, .help = L"Quit without saving"},
  // Before the status bar, so that where the two overlap the progress bar is drawn above it.
  ControlLayout{.name = L"progress", .id = ControlId::Progress, .kind = ProgressBar, .caption = L"",
                .place = {4680, 4920, 1335, 255}, .visible = false},
  ControlLayout{.name = L"StatusBar1", .id = ControlId::StatusBar, .kind = StatusBar, .caption = L"",
                .place = {0, 4800, 6105, 435}},
};
// clang-format on
static_assert(kControls.size() == kControlCount);

}  // namespace

int twipsToPixels(int twips, int dpi) {
  const std::int64_t product = std::int64_t{twips} * dpi;
  const std::int64_t half = kTwipsPerInch / 2;
  const std::int64_t rounded = product >= 0 ? (product + half) / kTwipsPerInch : (product - half) / kTwipsPerInch;
  return static_cast<int>(rounded);
}

PixelRect toPixels(const TwipRect& place, int dpi) {
  return PixelRect{twipsToPixels(place.left, dpi), twipsToPixels(place.top, dpi),
                   twipsToPixels(place.left + place.width, dpi), twipsToPixels(place.top + place.height, dpi)};
}

std::span<const ControlLayout> dialogControls() { return kControls; }

TwipRect windowPlace(const ControlLayout& layout) {
  TwipRect place = layout.place;
  if (layout.textReach) place.width = *layout.textReach - place.left;
  return place;
}

const ControlLayout* findControl(int id) {
  for (const auto& entry : kControls) {
    if (static_cast<int>(entry.id) == id) return &entry;
  }
  return nullptr;
}

const ControlLayout& layoutOf(ControlId id) { return *findControl(static_cast<int>(id)); }

}  // namespace slidewell::setup
