// SDL's X11 driver opens a D-Bus connection when its video starts; libdbus
// keeps a buffer of it for the life of the process, which the leak checker
// of the sanitizer build would report. Not ours, and not freed on purpose.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n";
}
