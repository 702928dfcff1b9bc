// Runs the built `vesk` binary the way a user would, for the command-line tests.
#pragma once

#include <string>
#include <vector>

namespace vesk::test {

struct CliResult {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// Runs build/bin/vesk with Args (no shell), feeding Input on standard input.
CliResult RunVesk(const std::vector<std::string>& args, const std::string& input = "");

std::string SamplePath(const std::string& name); // a file of examples/sample

} // namespace vesk::test
