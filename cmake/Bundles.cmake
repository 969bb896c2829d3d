# SPDX-License-Identifier: MIT
# Copyright (c) 2026 Cuebolt developers
# Bundles are directories laid out as they are installed: Name.ext/Contents/{Info.plist,MacOS/,Resources/}.

# cuebolt_bundle_info_plist(<bundle dir> <Info.plist.in>): writes Contents/Info.plist with the version.
function(cuebolt_bundle_info_plist bundle_dir template)
  configure_file("${template}" "${bundle_dir}/Contents/Info.plist" @ONLY)
endfunction()

# cuebolt_app_bundle(<target> <bundle dir> <Info.plist.in>): the executable goes to Contents/MacOS.
function(cuebolt_app_bundle target bundle_dir template)
  get_filename_component(bundle_name "${bundle_dir}" NAME_WE)
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME "${bundle_name}"
    RUNTIME_OUTPUT_DIRECTORY "${bundle_dir}/Contents/MacOS")
  cuebolt_bundle_info_plist("${bundle_dir}" "${template}")
endfunction()
