// The lines of a text file, as a test reads what the library wrote.
#ifndef SCANLINK_TESTS_FILE_LINES_H
#define SCANLINK_TESTS_FILE_LINES_H

#include <fstream>
#include <string>
#include <vector>

inline std::vector<std::string> linesOf(const std::string& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

#endif
