// Fontconfig keeps a few small allocations for the life of the process when
// Qt first loads fonts; they are not ours and are not freed on purpose. The
// leak checker of the sanitizer build asks this hook what to overlook.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
