#pragma once
// The two delete buttons: temporary internet files, and cookies.
#include "app/window/window_ops.h"
#include "cache/url_cache_seam.h"

// Asks first and, on Yes, deletes the entries of the button's kind; shows
// nothing afterwards.
void DeleteAfterConfirmation(UrlCacheSeam& cache, WindowOps& window, int id);
