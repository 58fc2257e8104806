#include "cli/NameVariant.h"

#include <cstring>

void NameVariant::setHot(const std::string &block)
{
    spilled = block.size() > InlineBytes;
    if (spilled) {
        spelling->overflow = block;
    } else {
        std::memcpy(hot, block.data(), block.size());
        spelling->overflow.clear();
    }
}
