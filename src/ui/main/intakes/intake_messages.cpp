#include "ui/main/intakes/intake_messages.h"

#include <shellapi.h>

#include "ui/main/work/long_work.h"
#include "ui/main/intakes/window_intakes.h"

namespace tv {

namespace {
constexpr UINT kMsgTextDropped = WM_APP + 1;   // lParam: the text, owned by the message
constexpr UINT kMsgHandOff = WM_APP + 3;       // handed-off items wait to be taken
constexpr UINT kMsgFilesDropped = WM_APP + 4;  // lParam: the file names, owned by the message
constexpr WPARAM kDeviceArrival = 0x8000;      // DBT_DEVICEARRIVAL

// Posts `value` to `window` as the lParam of `msg`; the message owns it from then on.
template <class T>
void PostOwned(HWND window, UINT msg, const T& value) {
    auto* copy = new T(value);
    if (!window || !PostMessageW(window, msg, 0, reinterpret_cast<LPARAM>(copy))) delete copy;
}
}  // namespace

IntakeMessages::IntakeMessages(WindowIntakes& intakes, LongWork& work) : intakes_(intakes), work_(work) {}

IntakeMessages::~IntakeMessages() = default;

void IntakeMessages::Register() {
    if (drop_ || !window_) return;
    DragAcceptFiles(window_, TRUE);
    drop_ = std::make_unique<TextDropRegistration>();
    drop_->Register(window_, *this);
}

void IntakeMessages::Detach() {
    drop_.reset();
    window_ = nullptr;
}

void IntakeMessages::TextDropped(const std::wstring& text) { PostOwned(window_, kMsgTextDropped, text); }

void IntakeMessages::FilesDropped(const std::vector<std::wstring>& files) {
    PostOwned(window_, kMsgFilesDropped, files);
}

bool IntakeMessages::Handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (msg) {
        case WM_DEVICECHANGE:
            if (wParam == kDeviceArrival) intakes_.DeviceArrived();
            result = TRUE;
            return true;
        case WM_DROPFILES:
            intakes_.FilesDropped(reinterpret_cast<HDROP>(wParam));
            return true;
        case kMsgFilesDropped: {
            std::unique_ptr<std::vector<std::wstring>> files(reinterpret_cast<std::vector<std::wstring>*>(lParam));
            if (files) intakes_.FilesDropped(*files);
            return true;
        }
        case kMsgTextDropped: {
            std::unique_ptr<std::wstring> text(reinterpret_cast<std::wstring*>(lParam));
            if (text) intakes_.TextDropped(*text);
            return true;
        }
        case WM_COPYDATA:
            if (!intakes_.CopyDataReceived(reinterpret_cast<const COPYDATASTRUCT*>(lParam))) return true;
            PostMessageW(window_, kMsgHandOff, 0, 0);
            result = 1;
            return true;
        case kMsgHandOff:
            work_.RunOrQueue([this] { intakes_.TakeHandedOffItems(); }, L"hand-off");
            return true;
    }
    return false;
}

}  // namespace tv
