#pragma once

namespace vantrel {

// Keeps GL drivers out of the window process. The window draws without GL
// (the video area is a shared-memory image, the maps draw in the web engine's
// own process), yet GDK's GLX probe and WebKit's EGL display would load the
// GL driver here: on a machine without a GPU that is Mesa's software driver
// with libLLVM, some 45 MB resident. Construct before the toolkit starts and
// call Restore() before the first map view starts the web engine's processes,
// which need GL and inherit the environment. Variables the user set are left
// as they are.
class CWindowGl {
 public:
  CWindowGl();
  CWindowGl(const CWindowGl&) = delete;
  CWindowGl& operator=(const CWindowGl&) = delete;
  // Puts back what the constructor set, for the processes started later.
  void Restore();

 private:
  bool m_setGdkGl = false;
};

}  // namespace vantrel
