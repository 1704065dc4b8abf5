// A browser as the accessibility route sees it: one top-level window per argument after the
// first (the window class), each on a thread of its own, whose accessible tree holds page content
// with a text field, then a toolbar with a button and the address bar, an element of no window
// of its own. An argument "title|address" gives a window that answers; "!silent" one whose
// thread never takes a message; "!stuck" one that answers the request for its object and then
// never returns from the object's calls.
#include <windows.h>
#include <oleacc.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

// One accessible object; its children are objects of their own or elements it answers for.
class Node : public IAccessible {
public:
    struct Child {
        Node* object;  // null for an element answered by its parent
        LONG role;
        std::wstring name, value;
    };
    Node(LONG role, std::wstring name, bool stuck = false) : role_(role), name_(std::move(name)), stuck_(stuck) {}
    std::vector<Child> children;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The tree lives as long as the process.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return *p = nullptr, S_FALSE; }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* n) override {
        if (stuck_) Sleep(INFINITE);
        *n = static_cast<LONG>(children.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** out) override {
        const Child* c = At(id);
        *out = c && c->object ? static_cast<IDispatch*>(c->object) : nullptr;
        return c ? (*out ? S_OK : S_FALSE) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* out) override { return Text(id, &Child::name, out); }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* out) override { return Text(id, &Child::value, out); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* out) override {
        const Child* c = At(id);
        if (!c && id.lVal != CHILDID_SELF) return E_INVALIDARG;
        out->vt = VT_I4;
        out->lVal = c ? c->role : role_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* b) override { return *b = nullptr, S_FALSE; }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT, VARIANT* v) override { return v->vt = VT_I4, v->lVal = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* b) override { return *b = nullptr, S_FALSE; }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR*, VARIANT, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* b) override { return *b = nullptr, S_FALSE; }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* v) override { return v->vt = VT_EMPTY, S_FALSE; }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* v) override { return v->vt = VT_EMPTY, S_FALSE; }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* b) override { return *b = nullptr, S_FALSE; }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accLocation(LONG*, LONG*, LONG*, LONG*, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG, LONG, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    const Child* At(const VARIANT& id) const {
        if (id.vt != VT_I4 || id.lVal < 1 || id.lVal > static_cast<LONG>(children.size())) return nullptr;
        return &children[static_cast<size_t>(id.lVal - 1)];
    }
    HRESULT Text(const VARIANT& id, std::wstring Child::*field, BSTR* out) {
        const Child* c = At(id);
        const std::wstring& text = c ? c->*field : field == &Child::name ? name_ : empty_;
        *out = text.empty() ? nullptr : SysAllocString(text.c_str());
        return text.empty() ? S_FALSE : S_OK;
    }
    LONG role_;
    std::wstring name_, empty_;
    bool stuck_;
};

std::wstring g_class;

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    auto* root = reinterpret_cast<Node*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (m == WM_GETOBJECT && root && static_cast<LONG>(l) == OBJID_CLIENT)
        return LresultFromObject(__uuidof(IAccessible), w, static_cast<IAccessible*>(root));
    return DefWindowProcW(h, m, w, l);
}

DWORD WINAPI WindowThread(void* parameter) {
    const std::wstring argument = static_cast<const wchar_t*>(parameter);
    OleInitialize(nullptr);
    const size_t bar = argument.find(L'|');
    const std::wstring title = bar == std::wstring::npos ? argument : argument.substr(0, bar);
    const std::wstring address = bar == std::wstring::npos ? L"" : argument.substr(bar + 1);
    auto* root = new Node(ROLE_SYSTEM_CLIENT, title, argument == L"!stuck");
    auto* page = new Node(ROLE_SYSTEM_DOCUMENT, L"page");
    page->children.push_back({nullptr, ROLE_SYSTEM_TEXT, L"Search", L"a field of the page"});
    auto* toolbar = new Node(ROLE_SYSTEM_TOOLBAR, L"toolbar");
    toolbar->children.push_back({nullptr, ROLE_SYSTEM_PUSHBUTTON, L"Back", L""});
    toolbar->children.push_back({nullptr, ROLE_SYSTEM_TEXT, L"Address and search bar", address});
    root->children.push_back({page, ROLE_SYSTEM_DOCUMENT, L"", L""});
    root->children.push_back({toolbar, ROLE_SYSTEM_TOOLBAR, L"", L""});
    HWND window = CreateWindowW(g_class.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300, 200,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(root));
    if (argument == L"!silent") Sleep(INFINITE);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 2) return 2;
    g_class = argv[1];
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = g_class.c_str();
    RegisterClassW(&wc);
    std::vector<HANDLE> threads;
    for (int i = 2; i < argc; ++i) threads.push_back(CreateThread(nullptr, 0, WindowThread, argv[i], 0, nullptr));
    // Runs until the test ends it.
    WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, INFINITE);
    return 0;
}
