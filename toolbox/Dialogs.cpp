// Standard alerts: the front end shows a real message box; the layer waits
// for it through its own event queue.
#include "Dialogs.h"

#include <cstring>
#include <string>

#include "Frontend.h"
#include "internal/Hooks.h"

struct AlertRecord {
  tb::AlertRequest request;
};

namespace {

std::string utf8Of(CFStringRef s) {
  if (s == nullptr) return {};
  std::string out(size_t(CFStringGetLength(s)) * 4 + 1, '\0');
  if (!CFStringGetCString(s, out.data(), CFIndex(out.size()), kCFStringEncodingUTF8)) return {};
  out.resize(std::strlen(out.c_str()));
  return out;
}

}  // namespace

OSStatus GetStandardAlertDefaultParams(AlertStdCFStringAlertParamRec* param, UInt32 version) {
  *param = AlertStdCFStringAlertParamRec{version, true, false, nullptr, nullptr, nullptr,
                                         kAlertStdAlertOKButton, 0, 0, 0};
  return noErr;
}

OSStatus CreateStandardAlert(AlertType type, CFStringRef error, CFStringRef explanation,
                             const AlertStdCFStringAlertParamRec* param, DialogRef* outAlert) {
  auto* alert = new AlertRecord;
  alert->request.type = type;
  alert->request.message = utf8Of(error);
  alert->request.explanation = utf8Of(explanation);
  alert->request.cancelButton = param != nullptr && param->cancelText != nullptr;
  *outAlert = alert;
  return noErr;
}

OSStatus RunStandardAlert(DialogRef alert, void*, DialogItemIndex* outItemHit) {
  if (alert == nullptr) return paramErr;
  tb::frontend().openAlert(alert->request);
  // The alert is application-modal, as ModalDialog is: what reaches the
  // queue while it is up (the suspend of the application window losing the
  // focus to it, a key released late) is not for the program, and left
  // there it would keep every wait below from ever waiting.
  while (tb::frontend().alertOpen()) {
    tb::flushAllInput();
    tb::waitForInput(50);
  }
  if (outItemHit != nullptr) *outItemHit = DialogItemIndex(tb::frontend().alertChoice());
  delete alert;
  return noErr;
}

void SysBeep(short) { tb::frontend().beep(); }
