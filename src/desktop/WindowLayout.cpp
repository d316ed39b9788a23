#include "desktop/WindowLayout.h"

#include <stdexcept>
#include <string>

#include "platform/Prompts.h"

namespace trelvox {

namespace {

constexpr FontDescription Arial(double points) {
  return {"Arial", points, true};
}

// The credit lines the splash and the About box carry.
constexpr const char* kAuthorLine = "By the Trelvox team";

constexpr ControlDescription kSplashControls[] = {
    {.id = IndexOf(SplashControl::fraMainFrame),
     .name = "fraMainFrame",
     .kind = ControlKind::Frame,
     .caption = "",
     .place = {120, 120, 6300, 3135}},
    {.id = IndexOf(SplashControl::cmdBegin),
     .name = "cmdBegin",
     .kind = ControlKind::Button,
     .caption = "Begin",
     .place = {4440, 1920, 1215, 495},
     .font = Arial(12),
     .container = "fraMainFrame"},
    {.id = IndexOf(SplashControl::picLogo),
     .name = "picLogo",
     .kind = ControlKind::Picture,
     .caption = "",
     .place = {120, 240, 2310, 2730},
     .container = "fraMainFrame",
     .picture = Picture::Logo},
    {.id = IndexOf(SplashControl::Label1),
     .name = "Label1",
     .kind = ControlKind::Label,
     .caption = kAppTitle,
     .place = {2640, 240, 3015, 495},
     .font = Arial(18),
     .container = "fraMainFrame"},
    {.id = IndexOf(SplashControl::lblAuthor),
     .name = "lblAuthor",
     .kind = ControlKind::Label,
     .caption = kAuthorLine,
     .place = {2640, 960, 3375, 315},
     .font = Arial(12),
     .container = "fraMainFrame"},
    {.id = IndexOf(SplashControl::Label6),
     .name = "Label6",
     .kind = ControlKind::Label,
     .caption = "For DMDX users",
     .place = {2640, 1320, 3015, 375},
     .font = Arial(12),
     .container = "fraMainFrame"},
    {.id = IndexOf(SplashControl::lblPlatform),
     .name = "lblPlatform",
     .kind = ControlKind::Label,
     .caption = "Windows 98",
     .place = {2640, 1800, 0, 0},
     .font = Arial(9.75),
     .container = "fraMainFrame",
     .sizesToText = true},
    {.id = IndexOf(SplashControl::lblVersion),
     .name = "lblVersion",
     .kind = ControlKind::Label,
     .caption = "Version",
     .place = {2640, 2040, 0, 0},
     .font = Arial(9.75),
     .container = "fraMainFrame",
     .sizesToText = true},
};

constexpr FontDescription kOptionFont{"MS Sans Serif", 12, true};

constexpr ControlDescription kSaveOptionsControls[] = {
    {.id = IndexOf(SaveOptionsControl::cmdOK),
     .name = "cmdOK",
     .kind = ControlKind::Button,
     .caption = "OK",
     .place = {1200, 3360, 975, 495}},
    {.id = IndexOf(SaveOptionsControl::cmdCancel),
     .name = "cmdCancel",
     .kind = ControlKind::Button,
     .caption = "Cancel",
     .place = {2520, 3360, 1095, 495}},
    {.id = IndexOf(SaveOptionsControl::ChkIndFiles),
     .name = "ChkIndFiles",
     .kind = ControlKind::CheckBox,
     .caption = "Save Individual Subject Files",
     .place = {480, 360, 4335, 375},
     .font = kOptionFont},
    {.id = IndexOf(SaveOptionsControl::chkSaveCounters),
     .name = "chkSaveCounters",
     .kind = ControlKind::CheckBox,
     .caption = "Save Counter File",
     .place = {480, 1080, 4335, 375},
     .font = kOptionFont},
    {.id = IndexOf(SaveOptionsControl::chkZOR),
     .name = "chkZOR",
     .kind = ControlKind::CheckBox,
     .caption = "File is ZOR formatted",
     .place = {480, 1800, 4335, 375},
     .font = kOptionFont},
    {.id = IndexOf(SaveOptionsControl::chkCOT),
     .name = "chkCOT",
     .kind = ControlKind::CheckBox,
     .caption = "COTs included?",
     .place = {480, 2520, 4335, 375},
     .font = kOptionFont},
};

constexpr ControlDescription kAboutControls[] = {
    {.id = IndexOf(AboutControl::cmdOK),
     .name = "cmdOK",
     .kind = ControlKind::Button,
     .caption = "OK",
     .place = {4245, 2625, 1260, 345},
     .isDefault = true,
     .isCancel = true},
    {.id = IndexOf(AboutControl::cmdSysInfo),
     .name = "cmdSysInfo",
     .kind = ControlKind::Button,
     .caption = "&System Info...",
     .place = {4260, 3075, 1245, 345}},
    {.id = IndexOf(AboutControl::picIcon),
     .name = "picIcon",
     .kind = ControlKind::Picture,
     .caption = "",
     .place = {240, 240, 540, 540},
     .picture = Picture::Icon},
    {.id = IndexOf(AboutControl::lblTitle),
     .name = "lblTitle",
     .kind = ControlKind::Label,
     .caption = "Application Title",
     .place = {1050, 240, 3885, 480}},
    {.id = IndexOf(AboutControl::lblVersion),
     .name = "lblVersion",
     .kind = ControlKind::Label,
     .caption = "Version",
     .place = {1050, 780, 3885, 225}},
    {.id = IndexOf(AboutControl::lblDescription),
     .name = "lblDescription",
     .kind = ControlKind::Label,
     .caption = "App Description",
     .place = {1050, 1125, 3885, 1170}},
    {.id = IndexOf(AboutControl::lblDisclaimer),
     .name = "lblDisclaimer",
     .kind = ControlKind::Label,
     .caption = kAuthorLine,
     .place = {255, 2625, 3870, 345}},
    {.id = IndexOf(AboutControl::Label1),
     .name = "Label1",
     .kind = ControlKind::Label,
     .caption = "For experimenters who run DMDX",
     .place = {240, 2880, 3870, 345}},
    {.id = IndexOf(AboutControl::Label2),
     .name = "Label2",
     .kind = ControlKind::Label,
     .caption = "Questions: see the README",
     .place = {240, 3120, 3870, 345}},
};

// The Analyze window is laid out on a grid of pixels at 96 dpi; the description keeps twips.
constexpr TwipsRect Px(int left, int top, int width, int height) {
  return {left * kTwipsPerPixel, top * kTwipsPerPixel, width * kTwipsPerPixel,
          height * kTwipsPerPixel};
}

constexpr ControlDescription kAnalyzeControls[] = {
    {.id = IndexOf(AnalyzeControl::lblInputs),
     .name = "lblInputs",
     .kind = ControlKind::Label,
     .caption = "&Input files:",
     .place = Px(8, 8, 300, 16)},
    {.id = IndexOf(AnalyzeControl::lstInputs),
     .name = "lstInputs",
     .kind = ControlKind::ListBox,
     .caption = "",
     .place = Px(8, 26, 520, 96),
     .multiSelect = true,
     .acceptsFiles = true},
    {.id = IndexOf(AnalyzeControl::cmdAdd),
     .name = "cmdAdd",
     .kind = ControlKind::Button,
     .caption = "A&dd...",
     .place = Px(536, 26, 96, 26)},
    {.id = IndexOf(AnalyzeControl::cmdRemove),
     .name = "cmdRemove",
     .kind = ControlKind::Button,
     .caption = "&Remove",
     .place = Px(536, 58, 96, 26)},
    {.id = IndexOf(AnalyzeControl::lblInputsError),
     .name = "lblInputsError",
     .kind = ControlKind::Label,
     .caption = "",
     .place = Px(8, 124, 624, 16),
     .tellsProblem = true},
    {.id = IndexOf(AnalyzeControl::lblTimeout),
     .name = "lblTimeout",
     .kind = ControlKind::Label,
     .caption = "&Time-out (ms):",
     .place = Px(8, 149, 150, 16)},
    {.id = IndexOf(AnalyzeControl::txtTimeout),
     .name = "txtTimeout",
     .kind = ControlKind::TextBox,
     .caption = "",
     .place = Px(164, 146, 90, 22)},
    {.id = IndexOf(AnalyzeControl::lblTimeoutError),
     .name = "lblTimeoutError",
     .kind = ControlKind::Label,
     .caption = "",
     .place = Px(262, 149, 370, 16),
     .tellsProblem = true},
    {.id = IndexOf(AnalyzeControl::lblResponses),
     .name = "lblResponses",
     .kind = ControlKind::Label,
     .caption = "Ex&pected responses:",
     .place = Px(8, 177, 150, 16)},
    {.id = IndexOf(AnalyzeControl::txtResponses),
     .name = "txtResponses",
     .kind = ControlKind::TextBox,
     .caption = "",
     .place = Px(164, 174, 90, 22)},
    {.id = IndexOf(AnalyzeControl::lblResponsesError),
     .name = "lblResponsesError",
     .kind = ControlKind::Label,
     .caption = "",
     .place = Px(262, 177, 370, 16),
     .tellsProblem = true},
    {.id = IndexOf(AnalyzeControl::lblMinRt),
     .name = "lblMinRt",
     .kind = ControlKind::Label,
     .caption = "Mi&n RT (ms):",
     .place = Px(8, 205, 150, 16)},
    {.id = IndexOf(AnalyzeControl::txtMinRt),
     .name = "txtMinRt",
     .kind = ControlKind::TextBox,
     .caption = "",
     .place = Px(164, 202, 90, 22)},
    {.id = IndexOf(AnalyzeControl::lblMinRtError),
     .name = "lblMinRtError",
     .kind = ControlKind::Label,
     .caption = "",
     .place = Px(262, 205, 370, 16),
     .tellsProblem = true},
    {.id = IndexOf(AnalyzeControl::lblMaxRt),
     .name = "lblMaxRt",
     .kind = ControlKind::Label,
     .caption = "Ma&x RT (ms):",
     .place = Px(8, 233, 150, 16)},
    {.id = IndexOf(AnalyzeControl::txtMaxRt),
     .name = "txtMaxRt",
     .kind = ControlKind::TextBox,
     .caption = "",
     .place = Px(164, 230, 90, 22)},
    {.id = IndexOf(AnalyzeControl::lblMaxRtError),
     .name = "lblMaxRtError",
     .kind = ControlKind::Label,
     .caption = "",
     .place = Px(262, 233, 370, 16),
     .tellsProblem = true},
    {.id = IndexOf(AnalyzeControl::lblSd),
     .name = "lblSd",
     .kind = ControlKind::Label,
     .caption = "&SD trim (K):",
     .place = Px(8, 261, 150, 16)},
    {.id = IndexOf(AnalyzeControl::txtSd),
     .name = "txtSd",
     .kind = ControlKind::TextBox,
     .caption = "",
     .place = Px(164, 258, 90, 22)},
    {.id = IndexOf(AnalyzeControl::lblSdError),
     .name = "lblSdError",
     .kind = ControlKind::Label,
     .caption = "",
     .place = Px(262, 261, 370, 16),
     .tellsProblem = true},
    {.id = IndexOf(AnalyzeControl::lblMaxErrorRate),
     .name = "lblMaxErrorRate",
     .kind = ControlKind::Label,
     .caption = "Max &error rate (0 to 1):",
     .place = Px(8, 289, 150, 16)},
    {.id = IndexOf(AnalyzeControl::txtMaxErrorRate),
     .name = "txtMaxErrorRate",
     .kind = ControlKind::TextBox,
     .caption = "",
     .place = Px(164, 286, 90, 22)},
    {.id = IndexOf(AnalyzeControl::lblMaxErrorRateError),
     .name = "lblMaxErrorRateError",
     .kind = ControlKind::Label,
     .caption = "",
     .place = Px(262, 289, 370, 16),
     .tellsProblem = true},
    {.id = IndexOf(AnalyzeControl::chkCOT),
     .name = "chkCOT",
     .kind = ControlKind::CheckBox,
     .caption = "COTs included?",
     .place = Px(164, 314, 150, 20)},
    {.id = IndexOf(AnalyzeControl::chkZOR),
     .name = "chkZOR",
     .kind = ControlKind::CheckBox,
     .caption = "File is ZOR formatted",
     .place = Px(324, 314, 200, 20)},
    {.id = IndexOf(AnalyzeControl::lblItemList),
     .name = "lblItemList",
     .kind = ControlKind::Label,
     .caption = "Ite&m list:",
     .place = Px(8, 345, 150, 16)},
    {.id = IndexOf(AnalyzeControl::txtItemList),
     .name = "txtItemList",
     .kind = ControlKind::TextBox,
     .caption = "",
     .place = Px(164, 342, 364, 22)},
    {.id = IndexOf(AnalyzeControl::cmdBrowseItems),
     .name = "cmdBrowseItems",
     .kind = ControlKind::Button,
     .caption = "&Browse...",
     .place = Px(536, 341, 96, 24)},
    {.id = IndexOf(AnalyzeControl::lblItemListError),
     .name = "lblItemListError",
     .kind = ControlKind::Label,
     .caption = "",
     .place = Px(164, 366, 468, 16),
     .tellsProblem = true},
    {.id = IndexOf(AnalyzeControl::lblBy),
     .name = "lblBy",
     .kind = ControlKind::Label,
     .caption = "&Cells by columns:",
     .place = Px(8, 387, 150, 16)},
    {.id = IndexOf(AnalyzeControl::lstBy),
     .name = "lstBy",
     .kind = ControlKind::ListBox,
     .caption = "",
     .place = Px(164, 384, 364, 60),
     .multiSelect = true},
    {.id = IndexOf(AnalyzeControl::lblByError),
     .name = "lblByError",
     .kind = ControlKind::Label,
     .caption = "",
     .place = Px(164, 446, 468, 16),
     .tellsProblem = true},
    {.id = IndexOf(AnalyzeControl::lblOutputFolder),
     .name = "lblOutputFolder",
     .kind = ControlKind::Label,
     .caption = "&Output folder:",
     .place = Px(8, 469, 150, 16)},
    {.id = IndexOf(AnalyzeControl::txtOutputFolder),
     .name = "txtOutputFolder",
     .kind = ControlKind::TextBox,
     .caption = "",
     .place = Px(164, 466, 364, 22)},
    {.id = IndexOf(AnalyzeControl::cmdBrowseOutput),
     .name = "cmdBrowseOutput",
     .kind = ControlKind::Button,
     .caption = "Bro&wse...",
     .place = Px(536, 465, 96, 24)},
    {.id = IndexOf(AnalyzeControl::lblOutputFolderError),
     .name = "lblOutputFolderError",
     .kind = ControlKind::Label,
     .caption = "",
     .place = Px(164, 490, 468, 16),
     .tellsProblem = true},
    {.id = IndexOf(AnalyzeControl::chkOpenReport),
     .name = "chkOpenReport",
     .kind = ControlKind::CheckBox,
     .caption = "Open the report w&hen done",
     .place = Px(164, 510, 300, 20)},
    {.id = IndexOf(AnalyzeControl::prgProgress),
     .name = "prgProgress",
     .kind = ControlKind::ProgressBar,
     .caption = "",
     .place = Px(8, 538, 624, 16)},
    {.id = IndexOf(AnalyzeControl::lblCurrentFile),
     .name = "lblCurrentFile",
     .kind = ControlKind::Label,
     .caption = "",
     .place = Px(8, 558, 624, 16)},
    {.id = IndexOf(AnalyzeControl::lblSummary),
     .name = "lblSummary",
     .kind = ControlKind::Label,
     .caption = "",
     .place = Px(8, 578, 624, 16)},
    {.id = IndexOf(AnalyzeControl::lstNotices),
     .name = "lstNotices",
     .kind = ControlKind::ListBox,
     .caption = "",
     .place = Px(8, 598, 624, 76)},
    {.id = IndexOf(AnalyzeControl::cmdAnalyze),
     .name = "cmdAnalyze",
     .kind = ControlKind::Button,
     .caption = "&Analyze",
     .place = Px(236, 682, 96, 28),
     .isDefault = true},
    {.id = IndexOf(AnalyzeControl::cmdCancel),
     .name = "cmdCancel",
     .kind = ControlKind::Button,
     .caption = "Cance&l",
     .place = Px(336, 682, 96, 28)},
    {.id = IndexOf(AnalyzeControl::cmdOpenFolder),
     .name = "cmdOpenFolder",
     .kind = ControlKind::Button,
     .caption = "Open &folder",
     .place = Px(436, 682, 96, 28)},
    {.id = IndexOf(AnalyzeControl::cmdClose),
     .name = "cmdClose",
     .kind = ControlKind::Button,
     .caption = "Close",
     .place = Px(536, 682, 96, 28),
     .isCancel = true},
};

// Each control stands at the place its id names, so that the ids and the table cannot drift.
constexpr bool IdsFollowTheTable(std::span<const ControlDescription> controls) {
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].id != i) {
      return false;
    }
  }
  return true;
}
static_assert(IdsFollowTheTable(kSplashControls));
static_assert(IdsFollowTheTable(kSaveOptionsControls));
static_assert(IdsFollowTheTable(kAboutControls));
static_assert(IdsFollowTheTable(kAnalyzeControls));

constexpr WindowDescription kSplash{"frmSplash",
                                    "",
                                    6510,
                                    3540,
                                    Border::FixedWithoutCaption,
                                    kSplashControls,
                                    IndexOf(SplashControl::cmdBegin)};
constexpr WindowDescription kSaveOptions{"frmSaveOptions",
                                         "Options",
                                         4965,
                                         4020,
                                         Border::Sizable,
                                         kSaveOptionsControls,
                                         IndexOf(SaveOptionsControl::cmdOK)};
constexpr WindowDescription kAbout{"frmAbout",
                                   "About Trelvox",
                                   5655,
                                   3630,
                                   Border::FixedDialog,
                                   kAboutControls,
                                   IndexOf(AboutControl::cmdOK)};

constexpr WindowDescription kAnalyze{
    "frmAnalyze",        "Analyze",        640 * kTwipsPerPixel,           718 * kTwipsPerPixel,
    Border::FixedDialog, kAnalyzeControls, IndexOf(AnalyzeControl::cmdAdd)};

constexpr LineDescription kEtchedLine[] = {
    {225, 2430, 5450, 2430, 128, 128, 128, 1},
    {240, 2445, 5450, 2445, 255, 255, 255, 2},
};

constexpr PanelDescription kStatusPanels[] = {
    {"pnlStatus", PanelContent::Text, "Status"},
    {"pnlDate", PanelContent::Date, ""},
    {"pnlTime", PanelContent::Time, ""},
};

}  // namespace

const WindowDescription& SplashWindow() {
  return kSplash;
}

const WindowDescription& SaveOptionsWindow() {
  return kSaveOptions;
}

const WindowDescription& AboutWindow() {
  return kAbout;
}

const WindowDescription& AnalyzeWindow() {
  return kAnalyze;
}

const WindowDescription& WindowOf(SplashControl) {
  return kSplash;
}

const WindowDescription& WindowOf(SaveOptionsControl) {
  return kSaveOptions;
}

const WindowDescription& WindowOf(AboutControl) {
  return kAbout;
}

const WindowDescription& WindowOf(AnalyzeControl) {
  return kAnalyze;
}

const ControlDescription& ControlNamed(const WindowDescription& window, std::string_view name) {
  for (const ControlDescription& control : window.controls) {
    if (name == control.name) {
      return control;
    }
  }
  throw std::out_of_range(std::string(window.name) + " has no control " + std::string(name));
}

TwipsRect PlaceInWindow(const WindowDescription& window, const ControlDescription& control) {
  TwipsRect place = control.place;
  if (control.container != nullptr) {
    const TwipsRect frame = PlaceInWindow(window, ControlNamed(window, control.container));
    place.left += frame.left;
    place.top += frame.top;
  }
  return place;
}

PixelRect PixelsOf(const TwipsRect& place, int dpi) {
  return {TwipsToPixels(place.left, dpi), TwipsToPixels(place.top, dpi),
          TwipsToPixels(place.width, dpi), TwipsToPixels(place.height, dpi)};
}

std::span<const LineDescription> AboutEtchedLine() {
  return kEtchedLine;
}

std::span<const PanelDescription> StatusPanels() {
  return kStatusPanels;
}

}  // namespace trelvox
