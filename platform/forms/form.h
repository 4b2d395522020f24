#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/forms/view.h"
#include "platform/types.h"

namespace pw::forms {

class Toolkit;
class Member;
class Control;
class MenuItem;

enum class BorderStyle { None, FixedSingle, Sizable, FixedDialog };
enum class ScaleMode { Twips, Pixels };

// The texts' empty braces let a designated initializer leave them out without a warning.
struct FormState {
  std::string caption{};
  int clientWidth = 0;  // twips
  int clientHeight = 0;
  int left = 0;  // twips, outer position on the screen
  int top = 0;
  BorderStyle border = BorderStyle::FixedDialog;
  bool minButton = false;
  bool maxButton = false;
  bool controlBox = true;
  ScaleMode scaleMode = ScaleMode::Twips;
  std::string icon{};  // resource name of the window icon
  bool enabled = true;
  bool centerOnScreen = true;  // placed in the middle of the screen at every load
  // Showing it takes the foreground and the keyboard, and the taskbar lists it. A form that does
  // not activate stays out of the way of the window the user works in.
  bool activates = true;
  std::uint32_t backColor = 0x8000000F;  // system button face
};

// The design most dialogs have: a fixed border without minimise and maximise buttons, the client
// area's size in twips, the window's icon by resource name.
inline FormState DialogDesign(std::string caption, int clientWidth, int clientHeight,
                              std::string icon) {
  FormState design;
  design.caption = std::move(caption);
  design.clientWidth = clientWidth;
  design.clientHeight = clientHeight;
  design.icon = std::move(icon);
  return design;
}

// Unload modes of a close request.
inline constexpr int kUnloadCloseCommand = 0;
inline constexpr int kUnloadFromCode = 1;
inline constexpr int kUnloadEndSession = 2;
inline constexpr int kUnloadTaskManager = 3;
// Not a classic mode: an installer (Restart Manager) closes the program to replace its files.
inline constexpr int kUnloadInstallerClose = 6;

// One window. Its controls are members of the derived class; its handlers are member functions.
// Referring to the form or any of its controls loads it (hidden) and runs Form_Load; Unload
// restores every control to its design state at the next load, while the derived class's own
// variables survive.
class Form {
 public:
  Form(Toolkit& toolkit, std::string name, FormState design = {});
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  FormState design;

  const std::string& Name() const { return name_; }
  Toolkit& Tk() const { return toolkit_; }
  bool Loaded() const { return loaded_; }

  void Load();
  // Shows without modality and returns at once.
  void Show();
  void Hide();
  // Unload from code (query-unload mode 1).
  void Unload();
  // A close request from the user or the system; returns true when the form unloaded.
  bool RequestClose(int unloadMode);

  std::string Caption();
  void SetCaption(std::string caption);
  bool Visible();
  bool Enabled();
  void SetEnabled(bool enabled);
  Hwnd hWnd();
  std::string Icon();
  // Outer size and position, in twips.
  int Left();
  int Top();
  int Width();
  int Height();
  void Move(int left, int top);
  // The client area in the form's scale.
  int ScaleWidth();
  int ScaleHeight();

  // Shows a popup menu at the cursor and raises the chosen item's Click after it closes.
  void PopupMenu(MenuItem& menu, MenuItem* defaultItem = nullptr);
  // Closes an open popup menu with nothing chosen, so the handler that opened it goes on.
  void ClosePopupMenu();

  // Keyboard roles: Enter presses the focused button or else the default one, Esc the cancel one.
  void PressEnter();
  void PressEscape();
  Control* ActiveControl();
  void SetActiveControl(Control* control);

  // Entry point for views: a mouse-move event on the form, coordinates in twips.
  void MouseMove(int button, int shift, float x, float y);
  // Entry point for views: the shell's notification area was recreated (Explorer restarted).
  void ShellRestarted();

  const std::vector<Member*>& Members() const { return members_; }
  std::vector<MenuItem*> MenuBar() const;
  FormView* View() const { return view_.get(); }
  void Notify(const Control* control, Prop what);

 protected:
  virtual void Form_Load() {}
  virtual void Form_Unload() {}
  virtual void Form_QueryUnload(int& cancel, int unloadMode) {
    (void)cancel;
    (void)unloadMode;
  }
  virtual void Form_MouseMove(int button, int shift, float x, float y) {
    (void)button, (void)shift, (void)x, (void)y;
  }
  virtual void Form_ShellRestarted() {}

 private:
  friend class Member;
  void AddMember(Member* member) { members_.push_back(member); }
  void FocusFirstControl();
  void FinishUnload();
  // Outer frame around the client area, in twips.
  int FrameWidth() const;
  int FrameHeight() const;
  // The dots per inch the client area is measured in.
  int Dpi(bool horizontal) const;

  Toolkit& toolkit_;
  std::string name_;
  FormState cur_;
  bool loaded_ = false;
  bool visible_ = false;
  Control* active_ = nullptr;
  // Code or the user gave the focus to a control since the last load.
  bool focusChosen_ = false;
  std::vector<Member*> members_;
  std::unique_ptr<FormView> view_;
  std::unique_ptr<FormView> retired_;
};

}  // namespace pw::forms
