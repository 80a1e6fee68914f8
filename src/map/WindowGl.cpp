#include "map/WindowGl.h"

#include <dlfcn.h>
#include <stdlib.h>

namespace vantrel {

namespace {

const char kEglVendorDirs[] = "__EGL_VENDOR_LIBRARY_DIRS";
const char kEglVendorFiles[] = "__EGL_VENDOR_LIBRARY_FILENAMES";
const char kGdkGl[] = "GDK_GL";

// libglvnd reads its list of EGL drivers once, on the first EGL call. Making
// that call while the list points nowhere leaves this process without EGL
// drivers for good; WebKit then hands the maps over in shared memory.
void LoadNoEglDrivers() {
  if (getenv(kEglVendorDirs) || getenv(kEglVendorFiles)) return;
  void* egl = dlopen("libEGL.so.1", RTLD_NOW | RTLD_NOLOAD);
  if (!egl) egl = dlopen("libEGL.so.1", RTLD_NOW);
  if (!egl) return;  // no EGL: nothing to keep out
  using QueryString = const char* (*)(void* display, int name);
  const auto query = reinterpret_cast<QueryString>(dlsym(egl, "eglQueryString"));
  if (query) {
    const int kEglExtensions = 0x3055;
    setenv(kEglVendorDirs, "/dev/null", 1);
    query(nullptr, kEglExtensions);
    unsetenv(kEglVendorDirs);
  }
  // The handle stays open: WebKit uses the same library and its state.
}

}  // namespace

CWindowGl::CWindowGl() {
  LoadNoEglDrivers();
  // GDK reads this once, when the toolkit starts.
  if (!getenv(kGdkGl)) m_setGdkGl = setenv(kGdkGl, "disable", 1) == 0;
}

void CWindowGl::Restore() {
  if (m_setGdkGl) unsetenv(kGdkGl);
  m_setGdkGl = false;
}

}  // namespace vantrel
