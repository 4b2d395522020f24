#include "platform/win32/views/win32_controls.h"

#include <string>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/win32/backend/win32_text.h"

namespace pw::win32 {

Win32TextBox::Win32TextBox(forms::TextBox& model, const ControlContext& context)
    : Win32ControlOf(model, context) {
  DWORD style = ES_AUTOHSCROLL | ES_LEFT;
  const char passwordChar = model.PasswordChar();
  if (passwordChar != 0) style |= ES_PASSWORD;
  Create(L"EDIT", model.Text(), style, WS_EX_CLIENTEDGE);
  if (passwordChar != 0) {
    SendMessageW(window_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar), 0);
  }
  if (model.MaxLength() > 0) {
    SendMessageW(window_, EM_LIMITTEXT, static_cast<WPARAM>(model.MaxLength()), 0);
  }
  ShowSelection();
}

void Win32TextBox::ShowSelection() const {
  const int start = model_.SelStart();
  SendMessageW(window_, EM_SETSEL, static_cast<WPARAM>(start),
               static_cast<LPARAM>(start + model_.SelLength()));
}

void Win32TextBox::Changed(forms::Prop what) {
  switch (what) {
    case forms::Prop::Text: {
      const std::string text = model_.Text();
      if (WindowText() == text) break;  // the user's own typing, coming back
      updating_ = true;
      SetWindowTextW(window_, win32::Wide(text).c_str());
      updating_ = false;
      // Setting the text moves the edit's caret; the model keeps its own.
      ShowSelection();
      break;
    }
    case forms::Prop::Selection:
      ShowSelection();
      break;
    default:
      Win32Control::Changed(what);
      break;
  }
}

void Win32TextBox::Command(int code) {
  if (code == EN_CHANGE && !updating_) {
    UserChanged();
  } else if (code == EN_SETFOCUS) {
    Focused();
  }
}

void Win32TextBox::UserChanged() {
  // The Change handler may unload the form and with it this object: keep copies.
  forms::TextBox& model = model_;
  forms::Form& form = model.Owner();
  const HWND edit = window_;
  model.SetText(WindowText());
  if (!form.Loaded() || IsWindow(edit) == FALSE) return;
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  model.SetSelection(static_cast<int>(start), static_cast<int>(end - start));
}

}  // namespace pw::win32
