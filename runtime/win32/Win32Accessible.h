// The window's client area for screen readers: an MSAA IAccessible object that answers every call
// from the forms layer's AccessibleWindow, with oleacc and COM loaded from the system folder on
// the first request.
#pragma once

#include <oleacc.h>

#include <windows.h>
#include <string>

#include "Handles.h"
#include "Platform.h"

namespace rt::win32 {

// Posted to the window with a child (from 0) in wParam: the press asked for by a screen reader,
// run from the message loop once the reader has its answer.
constexpr UINT kAccessiblePressMessage = WM_APP + 1;

// What the object asks of the window that made it.
class AccessibleHost {
 public:
  virtual HWND AccessibleHandle() const = 0;
  // The model, or null while there is nothing to tell.
  virtual AccessibleWindow* AccessibleModel() const = 0;
  // Focuses a child as a handler: what it throws goes to the message loop. False where the
  // window takes no events now or the handler failed.
  virtual bool FocusAccessibleChild(int child) = 0;

 protected:
  ~AccessibleHost() = default;
};

// The system functions the object needs, found in the system folder on first use; null where
// any of them is missing. COM is initialised (apartment-threaded) on the calling thread first.
struct AccessibilityFunctions {
  LRESULT(WINAPI* lresultFromObject)(REFIID, WPARAM, LPUNKNOWN);
  HRESULT(WINAPI* createStdAccessibleObject)(HWND, LONG, REFIID, void**);
  HRESULT(WINAPI* coDisconnectObject)(LPUNKNOWN, DWORD);
  BSTR(WINAPI* sysAllocStringLen)(const OLECHAR*, UINT);
};
const AccessibilityFunctions* AccessibilityFromSystemFolder();

class AccessibleClient final : public IAccessible {
 public:
  // With one reference, the caller's.
  AccessibleClient(AccessibleHost& host, const AccessibilityFunctions& functions)
      : host_(&host), functions_(&functions) {}
  AccessibleClient(const AccessibleClient&) = delete;
  AccessibleClient& operator=(const AccessibleClient&) = delete;

  // The window is going: every later call is refused, and clients elsewhere are let go.
  void Disconnect();

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch: not offered; readers use the IAccessible methods themselves.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override;
  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focused) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selected) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

 private:
  ~AccessibleClient() = default;

  // Runs a call against the model: refused once disconnected or while there is nothing to tell,
  // and nothing it throws leaves the method.
  template <typename F>
  HRESULT Answer(F&& body);
  // A text of the window or of a child, text(model, child), as a BSTR the caller frees.
  template <typename F>
  HRESULT ChildText(const VARIANT& child, BSTR* out, F&& text);
  // A text as a BSTR the caller frees; S_FALSE and null for an empty one.
  HRESULT Text(const std::wstring& text, BSTR* out);
  // The answer to a call for something the menu does not have.
  HRESULT NotOffered() const;

  LONG references_ = 1;
  AccessibleHost* host_;
  const AccessibilityFunctions* functions_;
};

// The window's reference to its object, disconnected and released with the window.
struct AccessibleTraits : NullEmpty<AccessibleClient*> {
  static void Free(AccessibleClient* client) {
    client->Disconnect();
    client->Release();
  }
};
using unique_accessible = UniqueHandle<AccessibleTraits>;

}  // namespace rt::win32
