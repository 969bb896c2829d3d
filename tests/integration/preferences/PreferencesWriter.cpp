// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// Another process's view of the store: PreferencesWriter <directory> <domain> <key> <string value>
// stores the value and synchronizes; exits 0 when the synchronize succeeded.
#include "Platform/Linux/FilePreferenceStore.h"

int main(int argc, char** argv)
{
    if (argc != 5)
        return 2;
    Platform::FilePreferenceStore store(argv[1]);
    store.CFPreferencesSetValue(argv[3], Platform::PlistValue(argv[4]), argv[2]);
    return store.CFPreferencesSynchronize(argv[2]) ? 0 : 1;
}
