# The Integrador stand-in, an executable beside tarvikplus that plays the Integrador on this
# machine with the module library beside it.
add_library(integrador_standin_logic STATIC
    ${CMAKE_CURRENT_LIST_DIR}/integrador_standin_answer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/integrador_standin_request.cpp
    ${CMAKE_CURRENT_LIST_DIR}/integrador_standin_service.cpp
)
target_link_libraries(integrador_standin_logic PUBLIC tarvik_logic)
tarvik_warnings(integrador_standin_logic)

add_executable(integrador_standin ${CMAKE_CURRENT_LIST_DIR}/integrador_standin.cpp)
target_link_libraries(integrador_standin PRIVATE integrador_standin_logic)
tarvik_warnings(integrador_standin)
add_dependencies(integrador_standin mfe_emulator)
