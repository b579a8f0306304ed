# The simulated instrument's core (no sockets), shared by its own build and
# the fuzzing build.
set(z5rsim_core_sources
  ${CMAKE_CURRENT_LIST_DIR}/src/setting_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/src/chunked_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/src/instrument_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/src/request_parser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/src/exchange_log.cpp
  ${CMAKE_CURRENT_LIST_DIR}/src/request_handler.cpp
  ${CMAKE_CURRENT_LIST_DIR}/src/packet_framer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/src/state_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/src/line_splitter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/src/control_channel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/src/discovery_reply.cpp
  ${CMAKE_CURRENT_LIST_DIR}/src/receiver_scene.cpp
  ${CMAKE_CURRENT_LIST_DIR}/src/receiver_handler.cpp
  ${CMAKE_CURRENT_LIST_DIR}/src/receiver_control.cpp
)
set(z5rsim_include_dirs ${CMAKE_CURRENT_LIST_DIR}/src)
