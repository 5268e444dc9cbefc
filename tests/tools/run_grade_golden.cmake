# Grades a task's example programs through quarzel-grade and compares the console output,
# the CSV file and the HTML page with the expected files beside the task file.
#   cmake -DGRADER=<quarzel-grade> -DTASK=<dir/NAME.toml> -DPROGRAMS=<folder, relative to dir>
#         -DWORK_DIR=<dir> -P run_grade_golden.cmake
# with -DEMULATOR=<command|its|arguments> for a grader that runs through an emulator (Wine).
# NAME.expected holds the console output, NAME.expected.csv and NAME.expected.html the
# reports. The grading runs on four threads so that the order cannot depend on timing.
cmake_minimum_required(VERSION 3.16)

get_filename_component(dir "${TASK}" DIRECTORY)
get_filename_component(name "${TASK}" NAME_WE)
file(MAKE_DIRECTORY "${WORK_DIR}")
set(csv "${WORK_DIR}/${name}.csv")
set(html "${WORK_DIR}/${name}.html")
file(REMOVE "${csv}" "${html}")

string(REPLACE "|" ";" emulator "${EMULATOR}")
execute_process(COMMAND ${emulator} "${GRADER}" --jobs 4 --csv "${csv}" --html "${html}" "${name}.toml" "${PROGRAMS}"
                WORKING_DIRECTORY "${dir}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
if(emulator)
    # Windows ends the lines of a console program with CR LF; the lines are what counts.
    string(REPLACE "\r\n" "\n" out "${out}")
    string(REPLACE "\r\n" "\n" err "${err}")
endif()

set(failed FALSE)
if(NOT status STREQUAL "0")
    message(SEND_ERROR "${name}: exit status ${status}, expected 0\n${err}")
    set(failed TRUE)
endif()
if(NOT err STREQUAL "")
    message(SEND_ERROR "${name}: unexpected stderr\n${err}")
    set(failed TRUE)
endif()
file(READ "${dir}/${name}.expected" expected_out)
if(NOT out STREQUAL expected_out)
    message(SEND_ERROR "${name}: stdout\n${out}--- expected\n${expected_out}---")
    set(failed TRUE)
endif()
foreach(report csv html)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${${report}}"
                            "${dir}/${name}.expected.${report}"
                    RESULT_VARIABLE different)
    if(different)
        message(SEND_ERROR "${name}: ${${report}} differs from ${name}.expected.${report}")
        set(failed TRUE)
    endif()
endforeach()
if(failed)
    message(FATAL_ERROR "${name}: failed")
endif()
