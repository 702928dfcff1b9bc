// Reads each form file named on the command line (or one name a line on stdin),
// writes it back, and compares: prints every file that does not come back identical
// and "N of M round-trip".
#include "platform/forms/FormFile.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> files(argv + 1, argv + argc);
    if (files.empty())
        for (std::string line; std::getline(std::cin, line);)
            if (!line.empty())
                files.push_back(line);
    int same = 0;
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream buffer;
        buffer << in.rdbuf();
        const std::string bytes = buffer.str();
        try {
            auto form = vesk::TFormFile::Parse(bytes);
            if (form->Save() == bytes)
                ++same;
            else
                std::cout << file << ": written back differently\n";
        } catch (const std::exception& e) {
            std::cout << file << ": " << e.what() << '\n';
        }
    }
    std::cout << same << " of " << files.size() << " round-trip\n";
    return same == static_cast<int>(files.size()) ? 0 : 1;
}
