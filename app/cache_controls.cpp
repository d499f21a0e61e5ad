#include "app/cache_controls.h"

#include "cache/url_cache_cleaner.h"
#include "resources/resource.h"
#include "texts/messages.h"

namespace {

// A large cache takes tens of seconds: the window stays answering meanwhile.
class BusyWindow final : public CleanObserver {
  public:
    explicit BusyWindow(WindowOps& window) : window_(window) { window_.SetBusy(true); }
    ~BusyWindow() override { window_.SetBusy(false); }
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

    bool KeepGoing(const CleanResult& /*soFar*/) override {
        window_.KeepResponsive();
        return true;
    }

  private:
    WindowOps& window_;
};

}  // namespace

void DeleteAfterConfirmation(UrlCacheSeam& cache, WindowOps& window, int id) {
    if (window.ShowMessage(kMsgConfirmDelete, kMbYesNo | kMbIconExclamation) != kIdYes) {
        return;
    }
    BusyWindow busy(window);
    if (id == IDC_DELETE_COOKIES) {
        DeleteCookies(cache, &busy);
    } else {
        DeleteTemporaryFiles(cache, &busy);
    }
}
