// The question bank built into the program from data/questions.tsv, imported into a store
// that holds no questions yet.
#pragma once

#include <string_view>

namespace server {

class EmbeddedBank {
public:
    static std::string_view Text();
};

}  // namespace server
