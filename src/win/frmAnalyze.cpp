#include "win/frmAnalyze.h"

#include <commctrl.h>

#include <algorithm>

#include "win/WinApplication.h"
#include "win/WinShellFiles.h"

namespace trelvox {

namespace {

using analysis::AnalysisField;

constexpr COLORREF kProblemRed = RGB(192, 0, 0);

// The text boxes and the values they hold.
struct TextField {
  AnalyzeControl box;
  std::string AnalyzeFormValues::*value;
};
constexpr TextField kTextFields[] = {
    {AnalyzeControl::txtTimeout, &AnalyzeFormValues::timeout},
    {AnalyzeControl::txtResponses, &AnalyzeFormValues::responses},
    {AnalyzeControl::txtMinRt, &AnalyzeFormValues::minRt},
    {AnalyzeControl::txtMaxRt, &AnalyzeFormValues::maxRt},
    {AnalyzeControl::txtSd, &AnalyzeFormValues::sd},
    {AnalyzeControl::txtMaxErrorRate, &AnalyzeFormValues::maxErrorRate},
    {AnalyzeControl::txtItemList, &AnalyzeFormValues::itemList},
    {AnalyzeControl::txtOutputFolder, &AnalyzeFormValues::outputFolder},
};
struct SwitchField {
  AnalyzeControl box;
  bool AnalyzeFormValues::*value;
};
constexpr SwitchField kSwitchFields[] = {
    {AnalyzeControl::chkCOT, &AnalyzeFormValues::cot},
    {AnalyzeControl::chkZOR, &AnalyzeFormValues::zor},
    {AnalyzeControl::chkOpenReport, &AnalyzeFormValues::openReport},
};

std::string ItemText(HWND list, int index) {
  std::string text(static_cast<std::size_t>(SendMessageA(list, LB_GETTEXTLEN, index, 0)) + 1, '\0');
  text.resize(static_cast<std::size_t>(SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index),
                                                    reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

std::vector<std::string> Lines(HWND list) {
  std::vector<std::string> lines;
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    lines.push_back(ItemText(list, i));
  }
  return lines;
}

std::vector<int> SelectedRows(HWND list) {
  std::vector<int> rows(
      static_cast<std::size_t>(std::max<LRESULT>(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 0)));
  if (!rows.empty()) {
    SendMessageA(list, LB_GETSELITEMS, rows.size(), reinterpret_cast<LPARAM>(rows.data()));
  }
  return rows;
}

// Fills the list and makes it scroll sideways as far as its longest line.
void FillList(HWND list, const std::vector<std::string>& lines) {
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  HDC dc = GetDC(list);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
  LONG widest = 0;
  for (const std::string& line : lines) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SIZE size{};
    GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
    widest = std::max(widest, size.cx);
  }
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 8), 0);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

frmAnalyze::frmAnalyze(WinApplication& app)
    : DescribedWindow(app),
      controller_(std::make_unique<AnalyzeController>(
          app.Desktop(), static_cast<AnalyzeView&>(*this), static_cast<WindowThread&>(*this))) {}

frmAnalyze::~frmAnalyze() {
  controller_.reset();  // a run still going ends here, before the window goes
  postTarget_ = nullptr;
}

void frmAnalyze::Load(const std::vector<std::string>& inputs) {
  if (Handle() == nullptr) {
    pendingInputs_ = inputs;
    // A fixed dialog frame with a close box; without an owner it has a task bar button.
    CreateModeless(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME, nullptr);
    CentreOver(Handle(), nullptr);
  } else if (!inputs.empty()) {
    controller_->AddInputs(inputs);
  }
  ShowWindow(Handle(), IsIconic(Handle()) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(Handle());
}

void frmAnalyze::Form_Load() {
  postTarget_ = Handle();
  SendMessageA(Control(AnalyzeControl::prgProgress), PBM_SETRANGE32, 0, 1000);
  controller_->Load(pendingInputs_);
  pendingInputs_.clear();
  shownItemList_ = Text(AnalyzeControl::txtItemList);
}

void frmAnalyze::OnCommand(int id) {
  if (id == CommandOf(AnalyzeControl::cmdAdd)) {
    cmdAdd_Click();
  } else if (id == CommandOf(AnalyzeControl::cmdRemove)) {
    cmdRemove_Click();
  } else if (id == CommandOf(AnalyzeControl::cmdBrowseItems)) {
    cmdBrowseItems_Click();
  } else if (id == CommandOf(AnalyzeControl::cmdBrowseOutput)) {
    cmdBrowseOutput_Click();
  } else if (id == CommandOf(AnalyzeControl::cmdAnalyze) || id == IDOK) {
    ItemListLeft();  // a path typed and then Enter: its columns first
    controller_->Analyze();
  } else if (id == CommandOf(AnalyzeControl::cmdCancel)) {
    controller_->Cancel();
  } else if (id == CommandOf(AnalyzeControl::cmdOpenFolder)) {
    controller_->OpenFolder();
  } else if (id == CommandOf(AnalyzeControl::cmdClose) || id == IDCANCEL) {
    cmdClose_Click();  // Escape comes as IDCANCEL: Close is the cancel button
  }
}

bool frmAnalyze::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  switch (message) {
    case kRunPostedTasks:
      RunPostedTasks();
      return true;
    case WM_DROPFILES:
      FilesDropped(reinterpret_cast<HDROP>(wParam));
      return true;
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_KILLFOCUS &&
          reinterpret_cast<HWND>(lParam) == Control(AnalyzeControl::txtItemList)) {
        ItemListLeft();
        return true;
      }
      return false;
    case WM_CTLCOLORSTATIC:
      if (IsProblemLabel(reinterpret_cast<HWND>(lParam))) {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kProblemRed);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        return true;
      }
      return false;
    case WM_CLOSE:
      cmdClose_Click();
      return true;
    case WM_DESTROY:
      controller_->Close();  // the program may end with a run going: it stops first
      postTarget_ = nullptr;
      return false;
    default:
      return false;
  }
}

bool frmAnalyze::IsProblemLabel(HWND control) const {
  const int id = GetDlgCtrlID(control);
  const auto& controls = Description().controls;
  const auto index = static_cast<std::size_t>(id - kFirstControlId);
  return id >= kFirstControlId && index < controls.size() && controls[index].tellsProblem;
}

void frmAnalyze::Post(std::function<void()> task) {
  {
    const std::lock_guard lock(tasksMutex_);
    tasks_.push_back(std::move(task));
  }
  if (HWND window = postTarget_.load()) {
    PostMessageA(window, kRunPostedTasks, 0, 0);
  }
}

void frmAnalyze::RunPostedTasks() {
  std::deque<std::function<void()>> due;
  {
    const std::lock_guard lock(tasksMutex_);
    due.swap(tasks_);
  }
  for (const auto& task : due) {
    task();
  }
}

std::string frmAnalyze::Text(AnalyzeControl id) const {
  return WindowText(Control(id));
}

bool frmAnalyze::IsChecked(AnalyzeControl id) const {
  return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void frmAnalyze::SetChecked(AnalyzeControl id, bool checked) {
  SendMessageA(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

AnalyzeFormValues frmAnalyze::Values() const {
  AnalyzeFormValues values;
  values.inputs = Lines(Control(AnalyzeControl::lstInputs));
  for (const TextField& field : kTextFields) {
    values.*field.value = Text(field.box);
  }
  for (const SwitchField& field : kSwitchFields) {
    values.*field.value = IsChecked(field.box);
  }
  HWND columns = Control(AnalyzeControl::lstBy);
  for (const int row : SelectedRows(columns)) {
    values.by.push_back(ItemText(columns, row));
  }
  return values;
}

void frmAnalyze::ShowValues(const AnalyzeFormValues& values) {
  ShowInputs(values.inputs);
  for (const TextField& field : kTextFields) {
    SetText(field.box, (values.*field.value).c_str());
  }
  for (const SwitchField& field : kSwitchFields) {
    SetChecked(field.box, values.*field.value);
  }
}

void frmAnalyze::ShowInputs(const std::vector<std::string>& inputs) {
  FillList(Control(AnalyzeControl::lstInputs), inputs);
}

void frmAnalyze::ShowByColumns(const std::vector<std::string>& columns,
                               const std::vector<std::string>& chosen) {
  HWND list = Control(AnalyzeControl::lstBy);
  FillList(list, columns);
  for (std::size_t row = 0; row < columns.size(); ++row) {
    if (std::find(chosen.begin(), chosen.end(), columns[row]) != chosen.end()) {
      SendMessageA(list, LB_SETSEL, TRUE, static_cast<LPARAM>(row));
    }
  }
  shownItemList_ = Text(AnalyzeControl::txtItemList);
}

void frmAnalyze::ShowProblem(AnalysisField field, const std::string& message) {
  SetText(ProblemLabelOf(field), message.c_str());
}

void frmAnalyze::ShowRunning(bool running) {
  HWND focus = GetFocus();
  bool focusDisabled = false;
  for (const ControlDescription& control : Description().controls) {
    const auto id = static_cast<AnalyzeControl>(control.id);
    const bool enabled = ControlEnabled(id, running);
    focusDisabled = focusDisabled || (!enabled && Control(id) == focus);
    EnableWindow(Control(id), enabled);
  }
  // The keyboard must keep a place to work from: Cancel while running, Analyze after.
  if (focusDisabled || focus == nullptr) {
    HWND next = Control(running ? AnalyzeControl::cmdCancel : AnalyzeControl::cmdAnalyze);
    SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
  }
}

void frmAnalyze::ShowProgress(int permille, const std::string& text) {
  SendMessageA(Control(AnalyzeControl::prgProgress), PBM_SETPOS, static_cast<WPARAM>(permille), 0);
  SetText(AnalyzeControl::lblCurrentFile, text.c_str());
}

void frmAnalyze::ShowOutcome(const std::string& summary, const std::vector<std::string>& notices) {
  SetText(AnalyzeControl::lblSummary, summary.c_str());
  FillList(Control(AnalyzeControl::lstNotices), notices);
}

void frmAnalyze::cmdAdd_Click() {
  const std::vector<std::string> inputs = Lines(Control(AnalyzeControl::lstInputs));
  const std::string folder = inputs.empty() ? std::string() : FolderOf(inputs.back());
  const std::vector<std::string> chosen =
      ChooseFilesToOpen(Handle(), "Add AZK, ZIL or composite files",
                        FilterWithPatterns(kAnalyzeInputFilter), true, folder);
  if (!chosen.empty()) {
    controller_->AddInputs(chosen);
  }
}

void frmAnalyze::cmdRemove_Click() {
  std::vector<std::size_t> rows;
  for (const int row : SelectedRows(Control(AnalyzeControl::lstInputs))) {
    rows.push_back(static_cast<std::size_t>(row));
  }
  controller_->RemoveInputs(rows);
}

void frmAnalyze::cmdBrowseItems_Click() {
  const std::string current = Text(AnalyzeControl::txtItemList);
  const std::vector<std::string> chosen =
      ChooseFilesToOpen(Handle(), "Choose the item list", FilterWithPatterns(kItemListFilter),
                        false, FolderOf(current));
  if (!chosen.empty()) {
    SetText(AnalyzeControl::txtItemList, chosen.front().c_str());
    ItemListLeft();
  }
}

void frmAnalyze::cmdBrowseOutput_Click() {
  const std::string folder = ChooseFolder(Handle(), "Choose the folder the tables go to",
                                          Text(AnalyzeControl::txtOutputFolder));
  if (!folder.empty()) {
    SetText(AnalyzeControl::txtOutputFolder, folder.c_str());
  }
}

void frmAnalyze::cmdClose_Click() {
  controller_->Close();
  Close();
}

void frmAnalyze::ItemListLeft() {
  if (Text(AnalyzeControl::txtItemList) != shownItemList_) {
    controller_->ItemListChanged();
  }
}

void frmAnalyze::FilesDropped(HDROP drop) {
  const std::vector<std::string> paths = TakeDroppedFiles(drop);
  if (!controller_->Running() && !paths.empty()) {
    controller_->AddInputs(paths);
  }
}

}  // namespace trelvox
