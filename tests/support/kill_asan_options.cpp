// The kill tests fork a child for every kill. Under AddressSanitizer every child starts with a
// copy of the parent's quarantine of freed memory (256 MiB by default), which makes each fork and
// each kill slow; a smaller quarantine keeps them quick and still catches a use after free.
// Options given in ASAN_OPTIONS take precedence over these.

#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=16";
}
#endif
