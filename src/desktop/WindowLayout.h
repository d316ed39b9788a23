#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "desktop/Placement.h"

namespace trelvox {

// Each window's controls, named as in its description and numbered by their place in it (the
// tab order), so that the programs name a control by a value the compiler checks.
enum class SplashControl {
  fraMainFrame,
  cmdBegin,
  picLogo,
  Label1,
  lblAuthor,
  Label6,
  lblPlatform,
  lblVersion
};
enum class SaveOptionsControl { cmdOK, cmdCancel, ChkIndFiles, chkSaveCounters, chkZOR, chkCOT };
enum class AboutControl {
  cmdOK,
  cmdSysInfo,
  picIcon,
  lblTitle,
  lblVersion,
  lblDescription,
  lblDisclaimer,
  Label1,
  Label2
};
// The Analyze window: the inputs, the analysis settings each with the label that tells its
// problem, the progress of a run and its outcome, and the buttons.
enum class AnalyzeControl {
  lblInputs,
  lstInputs,
  cmdAdd,
  cmdRemove,
  lblInputsError,
  lblTimeout,
  txtTimeout,
  lblTimeoutError,
  lblResponses,
  txtResponses,
  lblResponsesError,
  lblMinRt,
  txtMinRt,
  lblMinRtError,
  lblMaxRt,
  txtMaxRt,
  lblMaxRtError,
  lblSd,
  txtSd,
  lblSdError,
  lblMaxErrorRate,
  txtMaxErrorRate,
  lblMaxErrorRateError,
  chkCOT,
  chkZOR,
  lblItemList,
  txtItemList,
  cmdBrowseItems,
  lblItemListError,
  lblBy,
  lstBy,
  lblByError,
  lblOutputFolder,
  txtOutputFolder,
  cmdBrowseOutput,
  lblOutputFolderError,
  chkOpenReport,
  prgProgress,
  lblCurrentFile,
  lblSummary,
  lstNotices,
  cmdAnalyze,
  cmdCancel,
  cmdOpenFolder,
  cmdClose
};

template <typename ControlId>
constexpr std::size_t IndexOf(ControlId id) {
  return static_cast<std::size_t>(id);
}

// A rectangle in twips (1/1440 inch), relative to the window's client area or to the frame
// that holds the control.
struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// A font by family and size; no family means the system's ordinary dialog font.
struct FontDescription {
  const char* family = nullptr;
  double points = 0;
  bool bold = false;
};

enum class ControlKind {
  Frame,
  Picture,
  Label,
  Button,
  CheckBox,
  TextBox,      // one line of text the user types
  ListBox,      // lines to choose from, several at once when `multiSelect`
  ProgressBar,  // from 0 to 1000
};

// The pictures the program ships with; each front end loads them its own way.
enum class Picture { None, Logo, Icon };

struct ControlDescription {
  std::size_t id;  // the control's place in the table, as its window's enum numbers it
  const char* name;
  ControlKind kind;
  const char* caption;  // the text before any load step sets another
  TwipsRect place;
  FontDescription font = {};
  const char* container = nullptr;  // the frame holding the control; none for the window
  bool sizesToText = false;         // only the position counts; the control fits its text
  bool isDefault = false;           // Enter presses it wherever the focus is
  bool isCancel = false;            // Escape presses it
  Picture picture = Picture::None;
  bool multiSelect = false;   // a list box where several lines can be chosen
  bool acceptsFiles = false;  // files dropped from the file manager land on it
  bool tellsProblem = false;  // a label that tells what is wrong with a field, drawn in red
};

enum class Border {
  FixedWithoutCaption,  // the splash
  FixedDialog,          // a dialog frame: caption and close box, no minimize or maximize
  Sizable,              // an ordinary window
};

struct WindowDescription {
  const char* name;
  const char* caption;
  int clientWidth;   // twips
  int clientHeight;  // twips
  Border border;
  std::span<const ControlDescription> controls;  // in tab order
  std::size_t firstFocus;  // the place of the control that has the focus when it opens
};

// The dialog-like windows of the desktop program.
const WindowDescription& SplashWindow();
const WindowDescription& SaveOptionsWindow();
const WindowDescription& AboutWindow();
const WindowDescription& AnalyzeWindow();

// The window a control belongs to, by the type of its id.
const WindowDescription& WindowOf(SplashControl);
const WindowDescription& WindowOf(SaveOptionsControl);
const WindowDescription& WindowOf(AboutControl);
const WindowDescription& WindowOf(AnalyzeControl);

// The description of the control with that id.
template <typename ControlId>
const ControlDescription& Described(ControlId id) {
  return WindowOf(id).controls[IndexOf(id)];
}

// The control of that name; raises std::out_of_range for a name the window does not have.
const ControlDescription& ControlNamed(const WindowDescription& window, std::string_view name);
// The control's place relative to the window's client area, its frame's offset added.
TwipsRect PlaceInWindow(const WindowDescription& window, const ControlDescription& control);
// A place in twips as pixels at that resolution: each edge and size rounded on its own.
PixelRect PixelsOf(const TwipsRect& place, int dpi = kLogicalDpi);

// The etched line across the About box: a grey line with a white one, two pixels wide, just
// below it. Coordinates in twips.
struct LineDescription {
  int x1;
  int y1;
  int x2;
  int y2;
  unsigned char red;
  unsigned char green;
  unsigned char blue;
  int widthPixels;
};
std::span<const LineDescription> AboutEtchedLine();
// The light grey behind the About box's icon.
inline constexpr unsigned char kIconBackgroundGrey = 192;

// The main window's status bar panels, left to right.
enum class PanelContent { Text, Date, Time };
struct PanelDescription {
  const char* name;
  PanelContent content;
  const char* text;  // for a text panel
};
std::span<const PanelDescription> StatusPanels();

}  // namespace trelvox
