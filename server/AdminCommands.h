// The commands an operator runs beside the server: importing a bank, reviewing submitted
// questions, listing accounts. Each prints to `out`, errors to `err`, and returns an exit status.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "server/Store.h"

namespace server {

class AdminCommands {
public:
    AdminCommands(Store& store, std::FILE* out, std::FILE* err) : store_(store), out_(out), err_(err) {}

    // Nothing is imported from a file with a bad line; the bad lines are listed.
    int Import(const std::string& path);
    int Review(const std::vector<std::string>& arguments);
    int Players();

private:
    Store& store_;
    std::FILE* out_;
    std::FILE* err_;
};

}  // namespace server
