# The Win32 backend's parts that need no Windows: message encoding, the
# DirectSound fill rules, pointer pixels. The rest runs under Wine (tests/windows).
add_executable(win32_parts_tests input_messages_test.cpp dsound_stream_device_test.cpp pointer_pixels_test.cpp)
target_link_libraries(win32_parts_tests PRIVATE vitrelume_win32_parts GTest::gtest_main)
gtest_discover_tests(win32_parts_tests)
