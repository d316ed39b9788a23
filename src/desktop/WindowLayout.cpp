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
    {.name = "fraMainFrame",
     .kind = ControlKind::Frame,
     .caption = "",
     .place = {120, 120, 6300, 3135}},
    {.name = "cmdBegin",
     .kind = ControlKind::Button,
     .caption = "Begin",
     .place = {4440, 1920, 1215, 495},
     .font = Arial(12),
     .container = "fraMainFrame"},
    {.name = "picLogo",
     .kind = ControlKind::Picture,
     .caption = "",
     .place = {120, 240, 2310, 2730},
     .container = "fraMainFrame",
     .picture = Picture::Logo},
    {.name = "Label1",
     .kind = ControlKind::Label,
     .caption = kAppTitle,
     .place = {2640, 240, 3015, 495},
     .font = Arial(18),
     .container = "fraMainFrame"},
    {.name = "lblAuthor",
     .kind = ControlKind::Label,
     .caption = kAuthorLine,
     .place = {2640, 960, 3375, 315},
     .font = Arial(12),
     .container = "fraMainFrame"},
    {.name = "Label6",
     .kind = ControlKind::Label,
     .caption = "For DMDX users",
     .place = {2640, 1320, 3015, 375},
     .font = Arial(12),
     .container = "fraMainFrame"},
    {.name = "lblPlatform",
     .kind = ControlKind::Label,
     .caption = "Windows 98",
     .place = {2640, 1800, 0, 0},
     .font = Arial(9.75),
     .container = "fraMainFrame",
     .sizesToText = true},
    {.name = "lblVersion",
     .kind = ControlKind::Label,
     .caption = "Version",
     .place = {2640, 2040, 0, 0},
     .font = Arial(9.75),
     .container = "fraMainFrame",
     .sizesToText = true},
};

constexpr FontDescription kOptionFont{"MS Sans Serif", 12, true};

constexpr ControlDescription kSaveOptionsControls[] = {
    {.name = "cmdOK",
     .kind = ControlKind::Button,
     .caption = "OK",
     .place = {1200, 3360, 975, 495}},
    {.name = "cmdCancel",
     .kind = ControlKind::Button,
     .caption = "Cancel",
     .place = {2520, 3360, 1095, 495}},
    {.name = "ChkIndFiles",
     .kind = ControlKind::CheckBox,
     .caption = "Save Individual Subject Files",
     .place = {480, 360, 4335, 375},
     .font = kOptionFont},
    {.name = "chkSaveCounters",
     .kind = ControlKind::CheckBox,
     .caption = "Save Counter File",
     .place = {480, 1080, 4335, 375},
     .font = kOptionFont},
    {.name = "chkZOR",
     .kind = ControlKind::CheckBox,
     .caption = "File is ZOR formatted",
     .place = {480, 1800, 4335, 375},
     .font = kOptionFont},
    {.name = "chkCOT",
     .kind = ControlKind::CheckBox,
     .caption = "COTs included?",
     .place = {480, 2520, 4335, 375},
     .font = kOptionFont},
};

constexpr ControlDescription kAboutControls[] = {
    {.name = "cmdOK",
     .kind = ControlKind::Button,
     .caption = "OK",
     .place = {4245, 2625, 1260, 345},
     .isDefault = true,
     .isCancel = true},
    {.name = "cmdSysInfo",
     .kind = ControlKind::Button,
     .caption = "&System Info...",
     .place = {4260, 3075, 1245, 345}},
    {.name = "picIcon",
     .kind = ControlKind::Picture,
     .caption = "",
     .place = {240, 240, 540, 540},
     .picture = Picture::Icon},
    {.name = "lblTitle",
     .kind = ControlKind::Label,
     .caption = "Application Title",
     .place = {1050, 240, 3885, 480}},
    {.name = "lblVersion",
     .kind = ControlKind::Label,
     .caption = "Version",
     .place = {1050, 780, 3885, 225}},
    {.name = "lblDescription",
     .kind = ControlKind::Label,
     .caption = "App Description",
     .place = {1050, 1125, 3885, 1170}},
    {.name = "lblDisclaimer",
     .kind = ControlKind::Label,
     .caption = kAuthorLine,
     .place = {255, 2625, 3870, 345}},
    {.name = "Label1",
     .kind = ControlKind::Label,
     .caption = "For experimenters who run DMDX",
     .place = {240, 2880, 3870, 345}},
    {.name = "Label2",
     .kind = ControlKind::Label,
     .caption = "Questions: see the README",
     .place = {240, 3120, 3870, 345}},
};

constexpr WindowDescription kSplash{
    "frmSplash", "", 6510, 3540, Border::FixedWithoutCaption, kSplashControls, "cmdBegin"};
constexpr WindowDescription kSaveOptions{
    "frmSaveOptions", "Options", 4965, 4020, Border::Sizable, kSaveOptionsControls, "cmdOK"};
constexpr WindowDescription kAbout{"frmAbout",          "About Trelvox", 5655,   3630,
                                   Border::FixedDialog, kAboutControls,  "cmdOK"};

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

std::span<const LineDescription> AboutEtchedLine() {
  return kEtchedLine;
}

std::span<const PanelDescription> StatusPanels() {
  return kStatusPanels;
}

}  // namespace trelvox
