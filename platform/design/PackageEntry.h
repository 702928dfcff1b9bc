// The one entry point a loadable package exports. The host finds it by name in the
// package's shared library, reads the description it returns, calls Register to make
// the package's registrations and Unregister to undo them before it lets the package go.
#pragma once

namespace vesk {

// The version of this description; a package built for another one is refused.
inline constexpr int PackageEntryVersion = 1;

extern "C" {

struct TPackageEntry {
    int Version;             // PackageEntryVersion
    const char* Name;        // the package's name ("Vesk"), also its registrations' owner
    const char* Description; // what the host lists for it
    // The names of the packages that must be loaded before it, ended by none.
    const char* const* Requires;
    // Calls the Register procedure of every unit with the package current. May raise;
    // the host then calls Unregister to undo what was done before the error.
    void (*Register)();
    // Undoes every registration of the package's units. Must not raise.
    void (*Unregister)();
};

using TPackageEntryProc = const TPackageEntry* (*)();

} // extern "C"

// The exported symbol's name.
inline constexpr const char* PackageEntryName = "VeskPackageEntry";

} // namespace vesk

// Defines the entry of the package being built: the only symbol its library exports.
#define VESK_PACKAGE_ENTRY(entry)                                                                  \
    extern "C" __attribute__((visibility("default"))) const ::vesk::TPackageEntry*                 \
    VeskPackageEntry() {                                                                           \
        return &(entry);                                                                           \
    }
