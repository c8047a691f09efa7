// A module without the family's entry points: loading it must not fail for
// want of them.
#define PLAIN_EXPORT extern "C" __attribute__((visibility("default")))

PLAIN_EXPORT int plainAnswer() { return 42; }
