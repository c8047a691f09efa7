// LeakSanitizer's defaults for every fuzz target: the suppressions of
// fuzz/lsan.supp (fontconfig's process-lifetime caches, a loss inside Cairo),
// so that a target that draws text reports only leaks of its own. LSAN_OPTIONS still
// overrides each option.
extern "C" const char* __lsan_default_options() {
    return "suppressions=\"" QX_LSAN_SUPPRESSIONS "\":print_suppressions=0";
}
