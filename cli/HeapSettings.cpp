// valmo-cli allocates through jemalloc, set here to back its heap with transparent huge pages where
// the kernel offers them (madvise mode). A million rows take some 160 MB; in 4 KiB pages that is
// 40 000 page faults, which on a virtual machine cost more than reading the rows themselves.
// jemalloc reads this setting once, before main().

extern "C" {
extern const char* const malloc_conf;
const char* const malloc_conf = "thp:always,metadata_thp:auto";
}
