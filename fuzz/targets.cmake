# The fuzz target folders, each calling vesk_fuzz_target once; included by
# the fuzz build and by the main build's corpus replays.
foreach(target filter csv ini table vcard ics candidates)
  add_subdirectory(${PROJECT_SOURCE_DIR}/fuzz/${target} fuzz_${target})
endforeach()
