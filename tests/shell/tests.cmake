# Desktop smoke test of the real executable under a virtual X server (skipped when xvfb-run, xdotool
# or ImageMagick are missing). Screenshots are kept in <build>/tests/desktop-smoke/.
add_test(NAME desktop_smoke
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/desktop_smoke.sh $<TARGET_FILE:quelvid>
                 ${CMAKE_BINARY_DIR}/tests/desktop-smoke)
set_tests_properties(desktop_smoke PROPERTIES SKIP_RETURN_CODE 77 LABELS shell TIMEOUT 120)
