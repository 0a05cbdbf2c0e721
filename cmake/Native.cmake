# Native Linux build: the core's unit tests and the benchmark.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB QM_CORE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/core/*.cpp)
file(GLOB QM_NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(qm_native_tests ${QM_CORE_TESTS} ${QM_NATIVE_TESTS})
target_include_directories(qm_native_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(qm_native_tests PRIVATE qmfake qmfault GTest::gtest_main)
gtest_discover_tests(qm_native_tests)

add_subdirectory(${CMAKE_SOURCE_DIR}/bench ${CMAKE_BINARY_DIR}/bench)
