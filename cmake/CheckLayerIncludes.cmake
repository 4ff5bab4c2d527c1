# cmake -DSOURCE_DIR=<checkout> -P CheckLayerIncludes.cmake
#
# The folders from the bottom up. A source may include its own folder and the
# folders before it; tools/ (the headless runner) sits on the model only.
cmake_minimum_required(VERSION 3.25)

set(order core files collect run experiments platform charts dialogs app)
set(model core files collect run experiments)
set(extra_tools core files collect run experiments tools)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(faults "")
foreach(folder IN LISTS order ITEMS tools)
  if(folder STREQUAL "tools")
    set(allowed ${extra_tools})
  else()
    list(FIND order ${folder} rank)
    list(SUBLIST order 0 ${rank} allowed)
    list(APPEND allowed ${folder})
  endif()
  file(GLOB sources ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
      if(line MATCHES "#[ \t]*include[ \t]*\"([a-z_]+)/")
        set(target ${CMAKE_MATCH_1})
        list(FIND allowed ${target} found)
        list(FIND order ${target} known)
        if(found EQUAL -1 AND (NOT known EQUAL -1 OR target STREQUAL "tools"))
          string(APPEND faults "${source}: ${folder}/ may not include ${target}/: ${line}\n")
        endif()
      elseif(line MATCHES "#[ \t]*include[ \t]*<Q" AND folder IN_LIST model)
        string(APPEND faults "${source}: the model includes Qt: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  # Status lines are printed as they stand, one fault a line.
  message(STATUS "Includes against the layer order:\n${faults}")
  message(FATAL_ERROR "The layers are not kept")
endif()
message(STATUS "Every include follows the layer order")
