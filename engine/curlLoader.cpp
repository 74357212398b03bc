// The libcurl functions the game calls, each opening libcurl the first time
// one is called and passing the call on. libcurl and the two dozen libraries
// it needs are then loaded only by a game that talks to the web, not at every
// start. Without libcurl a handle is never made, and callers report that as
// they report any failed connection.
#define CURL_DISABLE_TYPECHECK
#include <curl/curl.h>
#include <dlfcn.h>

#include <cstdarg>
#include <mutex>

namespace {
struct CcurlLib {
    CURL* (*easyInit)();
    void (*easyCleanup)(CURL*);
    CURLcode (*easyPerform)(CURL*);
    CURLcode (*easySetopt)(CURL*, CURLoption, ...);
    CURLcode (*easyGetinfo)(CURL*, CURLINFO, ...);
    const char* (*easyStrerror)(CURLcode);
    curl_slist* (*slistAppend)(curl_slist*, const char*);
    void (*slistFreeAll)(curl_slist*);
    curl_mime* (*mimeInit)(CURL*);
    void (*mimeFree)(curl_mime*);
    curl_mimepart* (*mimeAddpart)(curl_mime*);
    CURLcode (*mimeName)(curl_mimepart*, const char*);
    CURLcode (*mimeFiledata)(curl_mimepart*, const char*);
};

template <class F>
bool find(void* lib, const char* name, F& to) {
    to = reinterpret_cast<F>(dlsym(lib, name));
    return to != nullptr;
}

// Null when libcurl (or one of the functions) can't be found.
const CcurlLib* curlLib() {
    static CcurlLib lib;
    static bool ok = false;
    static std::once_flag opened;
    std::call_once(opened, [] {
        void* so = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
        if (!so) return;
        ok = find(so, "curl_easy_init", lib.easyInit) && find(so, "curl_easy_cleanup", lib.easyCleanup) &&
             find(so, "curl_easy_perform", lib.easyPerform) && find(so, "curl_easy_setopt", lib.easySetopt) &&
             find(so, "curl_easy_getinfo", lib.easyGetinfo) && find(so, "curl_easy_strerror", lib.easyStrerror) &&
             find(so, "curl_slist_append", lib.slistAppend) && find(so, "curl_slist_free_all", lib.slistFreeAll) &&
             find(so, "curl_mime_init", lib.mimeInit) && find(so, "curl_mime_free", lib.mimeFree) &&
             find(so, "curl_mime_addpart", lib.mimeAddpart) && find(so, "curl_mime_name", lib.mimeName) &&
             find(so, "curl_mime_filedata", lib.mimeFiledata);
    });
    return ok ? &lib : nullptr;
}
}  // namespace

extern "C" {

CURL* curl_easy_init() {
    const CcurlLib* lib = curlLib();
    return lib ? lib->easyInit() : nullptr;
}

// A handle exists only when libcurl was loaded: the calls on a handle need no check.
void curl_easy_cleanup(CURL* curl) {
    if (curl) curlLib()->easyCleanup(curl);
}

CURLcode curl_easy_perform(CURL* curl) { return curl ? curlLib()->easyPerform(curl) : CURLE_FAILED_INIT; }

CURLcode curl_easy_setopt(CURL* curl, CURLoption option, ...) {
    if (!curl) return CURLE_BAD_FUNCTION_ARGUMENT;
    // The value is read as libcurl reads it: its type is given by the option's range.
    va_list arg;
    va_start(arg, option);
    CURLcode rc;
    if (option < CURLOPTTYPE_OBJECTPOINT) rc = curlLib()->easySetopt(curl, option, va_arg(arg, long));
    else if (option < CURLOPTTYPE_FUNCTIONPOINT) rc = curlLib()->easySetopt(curl, option, va_arg(arg, void*));
    else if (option < CURLOPTTYPE_OFF_T) rc = curlLib()->easySetopt(curl, option, va_arg(arg, void (*)()));
    else if (option < CURLOPTTYPE_BLOB) rc = curlLib()->easySetopt(curl, option, va_arg(arg, curl_off_t));
    else rc = curlLib()->easySetopt(curl, option, va_arg(arg, void*));
    va_end(arg);
    return rc;
}

CURLcode curl_easy_getinfo(CURL* curl, CURLINFO info, ...) {
    if (!curl) return CURLE_BAD_FUNCTION_ARGUMENT;
    va_list arg;
    va_start(arg, info);
    CURLcode rc = curlLib()->easyGetinfo(curl, info, va_arg(arg, void*));
    va_end(arg);
    return rc;
}

const char* curl_easy_strerror(CURLcode code) {
    const CcurlLib* lib = curlLib();
    return lib ? lib->easyStrerror(code) : "libcurl could not be loaded";
}

curl_slist* curl_slist_append(curl_slist* list, const char* text) {
    const CcurlLib* lib = curlLib();
    return lib ? lib->slistAppend(list, text) : nullptr;
}

void curl_slist_free_all(curl_slist* list) {
    if (list) curlLib()->slistFreeAll(list);
}

curl_mime* curl_mime_init(CURL* curl) { return curl ? curlLib()->mimeInit(curl) : nullptr; }

void curl_mime_free(curl_mime* mime) {
    if (mime) curlLib()->mimeFree(mime);
}

curl_mimepart* curl_mime_addpart(curl_mime* mime) { return mime ? curlLib()->mimeAddpart(mime) : nullptr; }

CURLcode curl_mime_name(curl_mimepart* part, const char* name) {
    return part ? curlLib()->mimeName(part, name) : CURLE_BAD_FUNCTION_ARGUMENT;
}

CURLcode curl_mime_filedata(curl_mimepart* part, const char* file) {
    return part ? curlLib()->mimeFiledata(part, file) : CURLE_BAD_FUNCTION_ARGUMENT;
}
}
