// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// Any bytes as the keyboard layout resource: every lookup stays inside the record.
#include "NSEvent-PLXKeyCodeAdditions.h"

#include "FakeKeyboardLayout.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static std::int16_t id = 1;
    Doubles::FakeKeyboardLayout layout;
    id = std::int16_t(id % 30000 + 1); // a new id each run, so the table is rebuilt
    layout.addRawLayout(id, std::vector<std::uint8_t>(data, data + size));
    layout.select(id);
    for (int ch = -1; ch <= 256; ++ch) {
        const std::int16_t code = PLXKeyCodeAdditions::keyCodeForAscii(layout, std::int16_t(ch));
        if (code < -1 || code > 127)
            std::abort();
    }
    return 0;
}
