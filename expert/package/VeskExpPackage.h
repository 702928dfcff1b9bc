// The package VeskExp: its entry calls the Register procedure of every unit, with the
// package current, so that unloading it undoes every registration.
#pragma once

namespace vesk {

constexpr const char* VeskExpPackageName = "VeskExp";
constexpr const char* VeskExpPackageDescription = "Vesk Experts";

// Registers the add-in's expert with the host (which owns it from then on).
void RegisterVeskExpPackage();
// Removes whatever the package's units registered at design time. The expert is the
// host's: the host releases it before it calls this.
void UnregisterVeskExpPackage();

} // namespace vesk
