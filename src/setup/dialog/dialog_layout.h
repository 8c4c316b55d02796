#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace slidewell::setup {

// Places and sizes in twips: 1440 to the logical inch, relative to the client area's top-left corner.
struct TwipRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Twips to pixels at `dpi` pixels to the logical inch, rounded to the nearest pixel with halves away
// from zero, as MulDiv(twips, dpi, 1440) rounds.
int twipsToPixels(int twips, int dpi);

// Converts the edges rather than the sizes, so that controls which meet in twips still meet in pixels
// at every DPI and nothing reaches past the client area.
PixelRect toPixels(const TwipRect& place, int dpi);

// The window itself.
struct WindowLayout {
  std::wstring_view caption;
  int clientWidth = 0;               // twips
  int clientHeight = 0;              // twips
  int left = 0;                      // twips from the screen's left edge to the client area
  int top = 0;                       // twips from the screen's top edge to the client area
  std::wstring_view backgroundHelp;  // what the help line shows while the pointer is over the background
};

inline constexpr WindowLayout kWindow{L"Screen saver", 6105, 5235, 1140, 1515, L""};

// Control ids stay clear of the ids the dialog manager sends for Enter (1) and Esc (2), so that
// neither key can pass for a click on a button.
enum class ControlId : int {
  ChangeLabel = 100,  // "Change picture every :"
  Interval,           // the seconds between two pictures
  SecondsLabel,
  Drives,
  Folders,
  Files,
  Add,
  Remove,
  PreviewBox,  // the preview of the chosen picture
  ListLabel,   // "Pictures to show :"
  PictureList,
  Preview,
  Ok,
  Cancel,
  StatusBar,
  Progress,
};

enum class ControlKind {
  Label,
  TextBox,
  DriveList,   // drop-down list of the machine's drives
  FolderList,  // the current folder, the folders above it and its subfolders
  FileList,    // the files of the current folder
  PushButton,
  CheckBox,
  Image,
  ListBox,
  StatusBar,
  ProgressBar,
};

struct ControlLayout {
  std::wstring_view name;
  ControlId id;
  ControlKind kind;
  std::wstring_view caption;
  TwipRect place;
  bool enabled = true;
  bool checked = false;
  bool visible = true;
  bool rightAligned = false;  // text ends at the right edge
  // A frame: sunken for the text box and the lists, a thin line for the image.
  // The drop-down list always draws its own.
  bool border = false;
  // Position in the Tab key's cycle, or nullopt for a control that never takes the focus.
  std::optional<int> tabIndex = std::nullopt;
  // Shown on the help line while the pointer moves over the control; nullopt leaves the line as it is.
  std::optional<std::wstring_view> help = std::nullopt;
  // For a label whose caption may not fit its place in every default font: the right edge, in twips
  // from the client area's left edge, that its text may run to through free space. Its window spans
  // that far, so that the caption shows whole instead of cut.
  std::optional<int> textReach = std::nullopt;
  // What screen readers call a control that has no label directly before it in the window order (a
  // label before it names it); nullopt for labels, the bars and controls named by their own caption.
  std::optional<std::wstring_view> accessibleName = std::nullopt;
};

inline constexpr std::size_t kControlCount = 16;

// Every control of the dialog, in the order the window creates them. That order is also the window
// order: the Tab key visits the controls that take the focus in it, and screen readers take a label
// directly before a control as that control's name.
std::span<const ControlLayout> dialogControls();

// Where the control's window lies: its place, widened to its text's reach where it has one.
TwipRect windowPlace(const ControlLayout& layout);

// The entry for `id`, or nullptr for an id that is not one of the dialog's controls.
const ControlLayout* findControl(int id);
const ControlLayout& layoutOf(ControlId id);

}  // namespace slidewell::setup
