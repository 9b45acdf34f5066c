// A screen reader's client, run under Wine beside the menu: asks the menu's window for its client
// area's IAccessible object and prints what a reader would learn, or focuses or presses a child.
//
//   a11y_probe describe [X Y ...]   the window, each child, and hit tests at extra screen points
//   a11y_probe select CHILD         accSelect(SELFLAG_TAKEFOCUS), then describe
//   a11y_probe press CHILD          accDoDefaultAction, then what the object answers once the
//                                   window is gone
// One line a thing, fields separated by tabs; exit code 2 where the object cannot be had.
#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Utf8(const wchar_t* text) {
  if (text == nullptr || *text == 0) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(size - 1));
  return out;
}

std::string Hex(long value) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%08lx", static_cast<unsigned long>(value));
  return text;
}

VARIANT Child(long id) {
  VARIANT child;
  VariantInit(&child);
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

// A child id, "none" for VT_EMPTY, or the failing HRESULT.
std::string Id(HRESULT hr, const VARIANT& result) {
  if (FAILED(hr)) return "hr=" + Hex(hr);
  if (result.vt == VT_I4) return std::to_string(result.lVal);
  return result.vt == VT_EMPTY ? "none" : "vt=" + std::to_string(result.vt);
}

std::string Text(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*),
                 long id) {
  BSTR text = nullptr;
  const HRESULT hr = (object->*get)(Child(id), &text);
  std::string out = FAILED(hr) ? "hr=" + Hex(hr) : Utf8(text);
  SysFreeString(text);
  return out;
}

std::string Number(HRESULT hr, const VARIANT& value) {
  return FAILED(hr) || value.vt != VT_I4 ? "hr=" + Hex(hr) : Hex(value.lVal);
}

std::string Location(IAccessible* object, long id, POINT* centre) {
  LONG left = 0, top = 0, width = 0, height = 0;
  const HRESULT hr = object->accLocation(&left, &top, &width, &height, Child(id));
  if (FAILED(hr)) return "hr=" + Hex(hr);
  if (centre != nullptr) *centre = {left + width / 2, top + height / 2};
  return std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(width) + "," +
         std::to_string(height);
}

std::string Navigate(IAccessible* object, long direction, long from) {
  VARIANT end;
  VariantInit(&end);
  const HRESULT hr = object->accNavigate(direction, Child(from), &end);
  std::string out = Id(hr, end);
  VariantClear(&end);
  return out;
}

std::string HitTest(IAccessible* object, POINT point) {
  VARIANT found;
  VariantInit(&found);
  const HRESULT hr = object->accHitTest(point.x, point.y, &found);
  std::string out = Id(hr, found);
  VariantClear(&found);
  return out;
}

void Describe(IAccessible* object, const std::vector<POINT>& points) {
  LONG count = 0;
  const HRESULT counted = object->get_accChildCount(&count);
  VARIANT role, state, focus;
  VariantInit(&role);
  VariantInit(&state);
  VariantInit(&focus);
  const HRESULT roleHr = object->get_accRole(Child(CHILDID_SELF), &role);
  const HRESULT stateHr = object->get_accState(Child(CHILDID_SELF), &state);
  const HRESULT focusHr = object->get_accFocus(&focus);
  IDispatch* parent = nullptr;
  const HRESULT parentHr = object->get_accParent(&parent);
  if (parent != nullptr) parent->Release();
  std::printf(
      "window\tname=%s\trole=%s\tstate=%s\tlocation=%s\tchildren=%s\tfocus=%s\tfirst=%s"
      "\tlast=%s\tparent=%s\n",
      Text(object, &IAccessible::get_accName, CHILDID_SELF).c_str(), Number(roleHr, role).c_str(),
      Number(stateHr, state).c_str(), Location(object, CHILDID_SELF, nullptr).c_str(),
      SUCCEEDED(counted) ? std::to_string(count).c_str() : Hex(counted).c_str(),
      Id(focusHr, focus).c_str(), Navigate(object, NAVDIR_FIRSTCHILD, CHILDID_SELF).c_str(),
      Navigate(object, NAVDIR_LASTCHILD, CHILDID_SELF).c_str(),
      parent != nullptr ? "window" : Hex(parentHr).c_str());
  for (long id = 1; id <= count; ++id) {
    VariantClear(&role);
    VariantClear(&state);
    const HRESULT childRole = object->get_accRole(Child(id), &role);
    const HRESULT childState = object->get_accState(Child(id), &state);
    IDispatch* element = nullptr;
    const HRESULT elementHr = object->get_accChild(Child(id), &element);
    if (element != nullptr) element->Release();
    POINT centre{};
    const std::string location = Location(object, id, &centre);
    std::printf(
        "child\tid=%ld\tname=%s\tdescription=%s\trole=%s\tstate=%s\tlocation=%s\taction=%s"
        "\tchild=%s\thit=%s\tnext=%s\tprevious=%s\tleft=%s\tright=%s\tup=%s\tdown=%s\n",
        id, Text(object, &IAccessible::get_accName, id).c_str(),
        Text(object, &IAccessible::get_accDescription, id).c_str(), Number(childRole, role).c_str(),
        Number(childState, state).c_str(), location.c_str(),
        Text(object, &IAccessible::get_accDefaultAction, id).c_str(), Hex(elementHr).c_str(),
        HitTest(object, centre).c_str(), Navigate(object, NAVDIR_NEXT, id).c_str(),
        Navigate(object, NAVDIR_PREVIOUS, id).c_str(), Navigate(object, NAVDIR_LEFT, id).c_str(),
        Navigate(object, NAVDIR_RIGHT, id).c_str(), Navigate(object, NAVDIR_UP, id).c_str(),
        Navigate(object, NAVDIR_DOWN, id).c_str());
  }
  for (const POINT& point : points) {
    std::printf("hit\tx=%ld\ty=%ld\tresult=%s\n", point.x, point.y, HitTest(object, point).c_str());
  }
  VariantClear(&role);
  VariantClear(&state);
  VariantClear(&focus);
}

int Fail(const char* what, HRESULT hr) {
  std::printf("error\t%s\thr=%s\n", what, Hex(hr).c_str());
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"describe";
  const HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(initialised)) return Fail("CoInitializeEx", initialised);
  HWND window = FindWindowW(L"MenuWindow", nullptr);
  if (window == nullptr) return Fail("no menu window", E_FAIL);
  IAccessible* object = nullptr;
  const HRESULT found =
      AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&object));
  if (FAILED(found) || object == nullptr) return Fail("AccessibleObjectFromWindow", found);
  std::vector<POINT> points;
  for (int i = 2; i + 1 < argc; i += 2) points.push_back({_wtol(argv[i]), _wtol(argv[i + 1])});
  if (command == L"select" && argc > 2) {
    std::printf("select\thr=%s\n",
                Hex(object->accSelect(SELFLAG_TAKEFOCUS, Child(_wtol(argv[2])))).c_str());
    points.clear();
  }
  if (command == L"press" && argc > 2) {
    std::printf("press\thr=%s\n", Hex(object->accDoDefaultAction(Child(_wtol(argv[2])))).c_str());
    std::fflush(stdout);
    for (int waited = 0; IsWindow(window) && waited < 200; ++waited) Sleep(50);
    LONG count = 0;
    std::printf("after\thr=%s\n", Hex(object->get_accChildCount(&count)).c_str());
  } else {
    Describe(object, points);
  }
  object->Release();
  CoUninitialize();
  return 0;
}
