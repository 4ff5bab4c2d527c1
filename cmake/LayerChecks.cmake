# Keeps the layers in one direction.
#
# Calls: each model layer is linked whole into a program of its own, with only
# the layers below it, so a call into a layer above fails the build.
foreach(layer IN LISTS BREVIMAR_LAYERS)
  add_executable(layer_links_${layer} ${CMAKE_SOURCE_DIR}/cmake/LayerLinksMain.cpp)
  target_link_libraries(layer_links_${layer} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,brevimar_${layer}>")
endforeach()

# Includes: a test reads every source and fails on an include of a folder
# above the includer's own (and on Qt in the model).
if(BREVIMAR_BUILD_TESTS)
  enable_testing()
  add_test(NAME layer_includes
           COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -P ${CMAKE_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake)
endif()
if(BREVIMAR_BUILD_TESTS)
  # The check itself must refuse a core header that includes files/.
  add_test(NAME layer_includes_refuses_upward
           COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}/tests/data/layer_fault
                   -P ${CMAKE_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake)
  set_tests_properties(layer_includes_refuses_upward PROPERTIES PASS_REGULAR_EXPRESSION "core/ may not include files/")
endif()
