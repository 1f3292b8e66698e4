# The WebAssembly build (emcmake cmake ...; `./kestrin wasm`): the core libraries and
# kestrin-cli as kestrin-cli.js + kestrin-cli.wasm for node. The web page links the same
# libraries (kestrin_engine, kestrin_sheet, kestrin_parser, kestrin_planner) into its own module.
set(KESTRIN_GUI OFF CACHE BOOL "" FORCE)
set(KESTRIN_BUILD_BENCH OFF CACHE BOOL "" FORCE)
# Exceptions carry every error message of the core: on at compile and link time.
add_compile_options(-fexceptions)
add_link_options(-fexceptions -sALLOW_MEMORY_GROWTH=1)
# Speed where the planner spends it (the shot solver, the extended arithmetic done in
# software): optimised across the libraries at link time, with the 128-bit vector
# instructions every current browser and node have, and 64-bit integers passed to JavaScript
# as they are. None of them changes a result: WebAssembly has no fused multiply-add to
# contract to, and a vector lane computes as the scalar instruction does.
add_compile_options(-flto -msimd128)
add_link_options(-flto -sWASM_BIGINT)

# The header-only libraries come from the system's include folder, which must not be on the
# WebAssembly compiler's path as a whole (its C library headers are for the desktop).
set(wasm_headers ${PROJECT_BINARY_DIR}/wasm_headers)
file(MAKE_DIRECTORY ${wasm_headers})
foreach(folder nlohmann CLI)
  if(NOT EXISTS ${wasm_headers}/${folder})
    file(CREATE_LINK /usr/include/${folder} ${wasm_headers}/${folder} SYMBOLIC)
  endif()
endforeach()
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${wasm_headers})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${wasm_headers})
