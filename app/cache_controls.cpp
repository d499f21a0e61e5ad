#include "app/cache_controls.h"

#include "cache/url_cache_cleaner.h"
#include "resources/resource.h"
#include "texts/messages.h"

void DeleteAfterConfirmation(UrlCacheSeam& cache, WindowOps& window, int id) {
    if (window.ShowMessage(kMsgConfirmDelete, kMbYesNo | kMbIconExclamation) != kIdYes) {
        return;
    }
    if (id == IDC_DELETE_COOKIES) {
        DeleteCookies(cache);
    } else {
        DeleteTemporaryFiles(cache);
    }
}
