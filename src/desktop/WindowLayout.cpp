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

const WindowDescription& WindowOf(SplashControl) {
  return kSplash;
}

const WindowDescription& WindowOf(SaveOptionsControl) {
  return kSaveOptions;
}

const WindowDescription& WindowOf(AboutControl) {
  return kAbout;
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
