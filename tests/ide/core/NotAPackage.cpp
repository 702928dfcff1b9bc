// A shared library that is not a package: it exports a function, but no package entry.
extern "C" __attribute__((visibility("default"))) int NotAPackageAnswer() {
    return 42;
}
