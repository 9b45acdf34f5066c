// The window's IAccessible object: each call answered from the AccessibleWindow model on the
// window's thread, children counted from 1 as MSAA counts them, places turned into screen pixels,
// and nothing thrown past a method.
#include "Win32Accessible.h"

#include <new>
#include <string>

#include "FocusOrder.h"

namespace rt::win32 {

namespace {

// A VARIANT's child as the model counts it: kSelf for the window's client area itself.
constexpr int kSelf = -1;
constexpr int kNoChild = -2;

int ChildOf(const VARIANT& id, AccessibleWindow& model) {
  if (id.vt != VT_I4) return kNoChild;
  if (id.lVal == CHILDID_SELF) return kSelf;
  return id.lVal >= 1 && id.lVal <= model.ChildCount() ? static_cast<int>(id.lVal) - 1 : kNoChild;
}

void SetEmpty(VARIANT* out) { out->vt = VT_EMPTY; }

void SetLong(VARIANT* out, LONG value) {
  out->vt = VT_I4;
  out->lVal = value;
}

void SetChild(VARIANT* out, int child) { SetLong(out, child == kSelf ? CHILDID_SELF : child + 1); }

}  // namespace

template <typename F>
HRESULT AccessibleClient::Answer(F&& body) {
  if (host_ == nullptr) return RPC_E_DISCONNECTED;
  // The model is the window's thread's alone; calls come there through its message loop.
  if (GetWindowThreadProcessId(host_->AccessibleHandle(), nullptr) != GetCurrentThreadId()) {
    return RPC_E_WRONG_THREAD;
  }
  try {
    AccessibleWindow* model = host_->AccessibleModel();
    return model != nullptr ? body(*model) : E_FAIL;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

template <typename F>
HRESULT AccessibleClient::ChildText(const VARIANT& child, BSTR* out, F&& text) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  return Answer([&](AccessibleWindow& model) {
    const int which = ChildOf(child, model);
    return which == kNoChild ? E_INVALIDARG : Text(text(model, which), out);
  });
}

HRESULT AccessibleClient::get_accParent(IDispatch** parent) {
  if (parent == nullptr) return E_POINTER;
  *parent = nullptr;
  return Answer([&](AccessibleWindow&) {
    return functions_->createStdAccessibleObject(host_->AccessibleHandle(), OBJID_WINDOW,
                                                 __uuidof(IDispatch),
                                                 reinterpret_cast<void**>(parent));
  });
}

HRESULT AccessibleClient::get_accChildCount(LONG* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return Answer([&](AccessibleWindow& model) {
    *count = model.ChildCount();
    return S_OK;
  });
}

// The buttons are simple elements: the parent answers for them.
HRESULT AccessibleClient::get_accChild(VARIANT child, IDispatch** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  return Answer(
      [&](AccessibleWindow& model) { return ChildOf(child, model) >= 0 ? S_FALSE : E_INVALIDARG; });
}

HRESULT AccessibleClient::get_accName(VARIANT child, BSTR* name) {
  return ChildText(child, name, [](AccessibleWindow& model, int which) {
    return which == kSelf ? model.Name() : model.Child(which).name;
  });
}

// The window itself has neither a description nor an action.
HRESULT AccessibleClient::get_accDescription(VARIANT child, BSTR* description) {
  return ChildText(child, description, [](AccessibleWindow& model, int which) {
    return which == kSelf ? std::wstring() : model.Child(which).description;
  });
}

HRESULT AccessibleClient::get_accRole(VARIANT child, VARIANT* role) {
  if (role == nullptr) return E_POINTER;
  SetEmpty(role);
  return Answer([&](AccessibleWindow& model) {
    const int which = ChildOf(child, model);
    if (which == kNoChild) return E_INVALIDARG;
    SetLong(role, which == kSelf ? ROLE_SYSTEM_CLIENT : ROLE_SYSTEM_PUSHBUTTON);
    return S_OK;
  });
}

HRESULT AccessibleClient::get_accState(VARIANT child, VARIANT* state) {
  if (state == nullptr) return E_POINTER;
  SetEmpty(state);
  return Answer([&](AccessibleWindow& model) {
    const int which = ChildOf(child, model);
    if (which == kNoChild) return E_INVALIDARG;
    LONG bits = STATE_SYSTEM_FOCUSABLE;
    if (which == kSelf) {
      const HWND window = host_->AccessibleHandle();
      if (!IsWindowVisible(window)) bits |= STATE_SYSTEM_INVISIBLE;
      if (GetFocus() == window && model.FocusedChild() < 0) bits |= STATE_SYSTEM_FOCUSED;
    } else {
      const AccessibleItem item = model.Child(which);
      if (item.focused) bits |= STATE_SYSTEM_FOCUSED;
      if (item.hot) bits |= STATE_SYSTEM_HOTTRACKED;
      if (item.pressed) bits |= STATE_SYSTEM_PRESSED;
    }
    SetLong(state, bits);
    return S_OK;
  });
}

HRESULT AccessibleClient::get_accFocus(VARIANT* focused) {
  if (focused == nullptr) return E_POINTER;
  SetEmpty(focused);
  return Answer([&](AccessibleWindow& model) {
    const int child = model.FocusedChild();
    if (child < 0 && GetFocus() != host_->AccessibleHandle()) return S_FALSE;
    SetChild(focused, child >= 0 ? child : kSelf);
    return S_OK;
  });
}

HRESULT AccessibleClient::get_accDefaultAction(VARIANT child, BSTR* action) {
  return ChildText(child, action, [](AccessibleWindow& model, int which) {
    return which == kSelf ? std::wstring() : model.DefaultAction();
  });
}

HRESULT AccessibleClient::accSelect(LONG flags, VARIANT child) {
  return Answer([&](AccessibleWindow& model) {
    const int which = ChildOf(child, model);
    if (which == kNoChild) return E_INVALIDARG;
    // The buttons can take the focus but are never selected.
    if ((flags & SELFLAG_TAKEFOCUS) == 0) return DISP_E_MEMBERNOTFOUND;
    if (which == kSelf) return SetFocus(host_->AccessibleHandle()) != nullptr ? S_OK : S_FALSE;
    return host_->FocusAccessibleChild(which) ? S_OK : E_FAIL;
  });
}

HRESULT AccessibleClient::accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                      VARIANT child) {
  if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
  *left = *top = *width = *height = 0;
  return Answer([&](AccessibleWindow& model) {
    const int which = ChildOf(child, model);
    if (which == kNoChild) return E_INVALIDARG;
    const HWND window = host_->AccessibleHandle();
    RECT area{};
    if (which == kSelf) {
      if (!GetClientRect(window, &area)) return E_FAIL;
    } else {
      const PixelRect bounds = model.Child(which).bounds;
      area = {bounds.left, bounds.top, bounds.right, bounds.bottom};
    }
    POINT corner{area.left, area.top};
    if (!ClientToScreen(window, &corner)) return E_FAIL;
    *left = corner.x;
    *top = corner.y;
    *width = area.right - area.left;
    *height = area.bottom - area.top;
    return S_OK;
  });
}

// The buttons form one row, in the keyboard's order: right and down go on to the next, left and
// up back to the previous; nothing lies past either end.
HRESULT AccessibleClient::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
  if (end == nullptr) return E_POINTER;
  SetEmpty(end);
  return Answer([&](AccessibleWindow& model) {
    const int from = ChildOf(start, model);
    if (from == kNoChild) return E_INVALIDARG;
    const int count = model.ChildCount();
    int to = kNoChild;
    switch (direction) {
      case NAVDIR_FIRSTCHILD:
      case NAVDIR_LASTCHILD:
        if (from != kSelf) return E_INVALIDARG;
        to = NextInRow(-1, direction == NAVDIR_FIRSTCHILD ? 1 : -1, count);
        break;
      case NAVDIR_NEXT:
      case NAVDIR_RIGHT:
      case NAVDIR_DOWN:
        if (from != kSelf) to = NextInRow(from, 1, count, RowEnds::kNothing);
        break;
      case NAVDIR_PREVIOUS:
      case NAVDIR_LEFT:
      case NAVDIR_UP:
        if (from != kSelf) to = NextInRow(from, -1, count, RowEnds::kNothing);
        break;
      default:
        return E_INVALIDARG;
    }
    // The client area's own neighbours are the standard window object's to tell.
    if (to < 0 || to >= count) return S_FALSE;
    SetChild(end, to);
    return S_OK;
  });
}

HRESULT AccessibleClient::accHitTest(LONG x, LONG y, VARIANT* child) {
  if (child == nullptr) return E_POINTER;
  SetEmpty(child);
  return Answer([&](AccessibleWindow& model) {
    const HWND window = host_->AccessibleHandle();
    POINT point{x, y};
    RECT client{};
    if (!ScreenToClient(window, &point) || !GetClientRect(window, &client)) return E_FAIL;
    if (!PtInRect(&client, point)) return S_FALSE;
    const int found = model.ChildAt(point.x, point.y);
    SetChild(child, found >= 0 ? found : kSelf);
    return S_OK;
  });
}

// Pressing may close the menu: it runs from the message loop once the reader has its answer.
HRESULT AccessibleClient::accDoDefaultAction(VARIANT child) {
  return Answer([&](AccessibleWindow& model) {
    const int which = ChildOf(child, model);
    if (which == kNoChild) return E_INVALIDARG;
    if (which == kSelf) return DISP_E_MEMBERNOTFOUND;
    return PostMessageW(host_->AccessibleHandle(), kAccessiblePressMessage,
                        static_cast<WPARAM>(which), 0)
               ? S_OK
               : E_FAIL;
  });
}

}  // namespace rt::win32
