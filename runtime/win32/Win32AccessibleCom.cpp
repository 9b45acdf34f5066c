// The COM side of the window's object for screen readers: the system functions it needs, found
// in the system folder; its interfaces and references; its disconnection; and the calls the menu
// has nothing for.
#include "Win32Accessible.h"
#include "Win32System.h"

namespace rt::win32 {

const AccessibilityFunctions* AccessibilityFromSystemFolder() {
  static AccessibilityFunctions functions{};
  // From the system folder only, like the shell: these DLLs bring dependencies of their own.
  static const bool found = [] {
    HMODULE ole = SystemLibrary(L"ole32.dll");
    HRESULT(WINAPI * coInitializeEx)(LPVOID, DWORD) = nullptr;
    if (!FindFunction(ole, "CoInitializeEx", coInitializeEx)) return false;
    // Handing the object to another program marshals it, which needs COM on this thread;
    // apartment-threaded, so that readers' calls arrive through the window's message loop. It
    // stays initialised for the thread's life: the process ends with the window.
    coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HMODULE automation = SystemLibrary(L"oleaut32.dll");
    HMODULE oleacc = SystemLibrary(L"oleacc.dll");
    return FindFunction(ole, "CoDisconnectObject", functions.coDisconnectObject) &&
           FindFunction(automation, "SysAllocStringLen", functions.sysAllocStringLen) &&
           FindFunction(oleacc, "LresultFromObject", functions.lresultFromObject) &&
           FindFunction(oleacc, "CreateStdAccessibleObject", functions.createStdAccessibleObject);
  }();
  return found ? &functions : nullptr;
}

void AccessibleClient::Disconnect() {
  if (host_ == nullptr) return;
  host_ = nullptr;
  // Proxies held by readers now fail at once instead of keeping the object for nothing.
  functions_->coDisconnectObject(this, 0);
}

HRESULT AccessibleClient::Text(const std::wstring& text, BSTR* out) {
  if (text.empty()) return S_FALSE;
  *out = functions_->sysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT AccessibleClient::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG AccessibleClient::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG AccessibleClient::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT AccessibleClient::GetTypeInfoCount(UINT* count) {
  if (count != nullptr) *count = 0;
  return E_NOTIMPL;
}
HRESULT AccessibleClient::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return E_NOTIMPL;
}
HRESULT AccessibleClient::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}
HRESULT AccessibleClient::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                 UINT*) {
  return E_NOTIMPL;
}

HRESULT AccessibleClient::NotOffered() const {
  return host_ != nullptr ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
}

// What the menu does not have: values, help, shortcuts, a selection, names set from outside.
HRESULT AccessibleClient::get_accValue(VARIANT, BSTR* value) {
  if (value != nullptr) *value = nullptr;
  return NotOffered();
}
HRESULT AccessibleClient::get_accHelp(VARIANT, BSTR* help) {
  if (help != nullptr) *help = nullptr;
  return NotOffered();
}
HRESULT AccessibleClient::get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) {
  if (file != nullptr) *file = nullptr;
  if (topic != nullptr) *topic = 0;
  return NotOffered();
}
HRESULT AccessibleClient::get_accKeyboardShortcut(VARIANT, BSTR* shortcut) {
  if (shortcut != nullptr) *shortcut = nullptr;
  return NotOffered();
}
HRESULT AccessibleClient::get_accSelection(VARIANT* selected) {
  if (selected != nullptr) selected->vt = VT_EMPTY;
  return NotOffered();
}
HRESULT AccessibleClient::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }
HRESULT AccessibleClient::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

}  // namespace rt::win32
