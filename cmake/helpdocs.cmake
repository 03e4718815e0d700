# Writes a program's man page, and optionally its bash completion, from its own help text, so the
# installed documentation says what the program says. Run as a script after the program is built:
#
#   cmake -DPROGRAM=<executable> -DNAME=<name> -DSUMMARY=<one line> -DMAN=<out.1>
#         [-DCOMPLETION=<out>] [-DSEE_ALSO=<name(1),...>] -P helpdocs.cmake
#
# The help is read in this shape: "Usage: NAME ..." first, then blocks separated by blank lines; a
# block headed "Commands:" lists one command a line (two spaces, name, two or more spaces, summary),
# one headed "Options:" one option a line, one headed "Example:" command lines. `NAME help CMD`
# prints a command's page in the same shape. Text of any other shape goes into the page as it is.

cmake_minimum_required(VERSION 3.25)

foreach(required PROGRAM NAME SUMMARY MAN)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "helpdocs.cmake needs -D${required}=...")
    endif()
endforeach()

# List-safe stand-ins for the characters CMake lists treat specially.
string(ASCII 1 SEMICOLON)
string(ASCII 2 OPEN_BRACKET)
string(ASCII 3 CLOSE_BRACKET)
string(ASCII 4 BACKSLASH)

# The program's output for `args`, one list entry a line; empty when it fails or prints nothing.
# With `tolerant` TRUE a failing program's output is taken too, from standard error when standard
# output is empty (some programs print their usage there with a failure status).
function(program_lines out tolerant)
    execute_process(COMMAND "${PROGRAM}" ${ARGN} OUTPUT_VARIABLE text ERROR_VARIABLE error_text
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        if(NOT tolerant)
            set(text "")
        elseif(text STREQUAL "")
            set(text "${error_text}")
        endif()
    endif()
    string(REPLACE "\r" "" text "${text}")
    string(REPLACE ";" "${SEMICOLON}" text "${text}")
    string(REPLACE "[" "${OPEN_BRACKET}" text "${text}")
    string(REPLACE "]" "${CLOSE_BRACKET}" text "${text}")
    string(REPLACE "\\" "${BACKSLASH}" text "${text}")
    string(REGEX REPLACE "\n+$" "" text "${text}")
    if(text STREQUAL "")
        set(${out} "" PARENT_SCOPE)
    else()
        string(REPLACE "\n" ";" text "${text}")
        set(${out} "${text}" PARENT_SCOPE)
    endif()
endfunction()

# Text as roff shows it literally: backslashes and hyphens escaped, no line read as a request.
function(roff out text)
    string(REPLACE "\\" "\\e" text "${text}")
    string(REPLACE "${BACKSLASH}" "\\e" text "${text}")
    string(REPLACE "-" "\\-" text "${text}")
    string(REPLACE "${SEMICOLON}" ";" text "${text}")
    string(REPLACE "${OPEN_BRACKET}" "[" text "${text}")
    string(REPLACE "${CLOSE_BRACKET}" "]" text "${text}")
    if(text MATCHES "^[.']")
        set(text "\\&${text}")
    endif()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Splits "  --name VALUE   what it does" into the option's words and its text.
function(split_entry line name_out text_out)
    string(STRIP "${line}" line)
    if(line MATCHES "^([^ ]+( [^ ]+)*)  +(.*)$")
        set(${name_out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
        set(${text_out} "${CMAKE_MATCH_3}" PARENT_SCOPE)
    else()
        set(${name_out} "${line}" PARENT_SCOPE)
        set(${text_out} "" PARENT_SCOPE)
    endif()
endfunction()

# Turns a help page (list of lines) into roff for a section body, and collects the option names it
# lists. With `request` SS the page's headings ("Options:") stay lines of its text; with SH they
# become sections of the man page.
function(page_roff lines request out options_out)
    set(body "")
    set(options "")
    set(block "text")
    set(first TRUE)
    foreach(line IN LISTS lines)
        if(first)
            set(first FALSE)
            if(line MATCHES "^Usage: ")
                continue()
            endif()
        endif()
        if(line MATCHES "^ *$")
            if(block STREQUAL "Example")
                string(APPEND body ".fi\n.RE\n")
            endif()
            set(block "text")
            string(APPEND body ".PP\n")
            continue()
        endif()
        if(line MATCHES "^(Options|Examples?):$")
            if(request STREQUAL "SH")
                string(TOUPPER "${CMAKE_MATCH_1}" heading)
                string(APPEND body ".SH ${heading}\n")
            else()
                roff(heading "${line}")
                string(APPEND body ".PP\n${heading}\n")
            endif()
            if(CMAKE_MATCH_1 STREQUAL "Options")
                set(block "Options")
            else()
                set(block "Example")
                string(APPEND body ".RS\n.nf\n")
            endif()
            continue()
        endif()
        if(block STREQUAL "Options" AND line MATCHES "^  +-")
            split_entry("${line}" name text)
            string(REGEX MATCHALL "[ ,|${OPEN_BRACKET}]--?[A-Za-z][-A-Za-z0-9]*" found " ${name}")
            foreach(option IN LISTS found)
                string(SUBSTRING "${option}" 1 -1 option)
                list(APPEND options "${option}")
            endforeach()
            roff(name "${name}")
            roff(text "${text}")
            string(APPEND body ".TP\n.B ${name}\n${text}\n")
        else()
            string(STRIP "${line}" line)
            roff(line "${line}")
            string(APPEND body "${line}\n")
        endif()
    endforeach()
    if(block STREQUAL "Example")
        string(APPEND body ".fi\n.RE\n")
    endif()
    # Paragraph breaks in a row or at the end render as nothing but still count as requests.
    string(REGEX REPLACE "(\\.PP\n)+" ".PP\n" body "${body}")
    string(REGEX REPLACE "\\.PP\n(\\.PP|\\.TP|\\.RS|\\.SH)" "\\1" body "${body}")
    string(REGEX REPLACE "^\\.PP\n|\\.PP\n$" "" body "${body}")
    set(${out} "${body}" PARENT_SCOPE)
    set(${options_out} "${options}" PARENT_SCOPE)
endfunction()

program_lines(help TRUE --help)
program_lines(version FALSE --version)
list(LENGTH version version_lines)
if(version_lines GREATER 0)
    list(GET version 0 footer)
else()
    set(footer "${NAME}")
endif()
roff(footer "${footer}")
roff(title "${NAME}")
string(TOUPPER "${title}" title_upper)
roff(summary "${SUMMARY}")

set(man ".TH ${title_upper} 1 \"\" \"${footer}\" \"User Commands\"\n")
string(APPEND man ".SH NAME\n${title} \\- ${summary}\n.SH SYNOPSIS\n")

list(LENGTH help help_lines)
set(commands "")
set(global_options "")
if(help_lines GREATER 0)
    list(GET help 0 usage)
else()
    set(usage "")
endif()

if(usage MATCHES "^Usage: +([^ ]+) *(.*)$")
    roff(arguments "${CMAKE_MATCH_2}")
    string(APPEND man ".B ${title}\n${arguments}\n")
    # Pull the command list out of the help; the rest is the page's description and options.
    set(rest "")
    set(in_commands FALSE)
    foreach(line IN LISTS help)
        if(line STREQUAL "Commands:")
            set(in_commands TRUE)
            continue()
        endif()
        if(in_commands AND line MATCHES "^ *$")
            set(in_commands FALSE)
        elseif(in_commands AND line MATCHES "^  [^ ]")
            split_entry("${line}" name text)
            # The command is the first word, should the list show its arguments too.
            string(REGEX REPLACE " .*" "" name "${name}")
            list(APPEND commands "${name}")
            set(command_summary_${name} "${text}")
            continue()
        elseif(in_commands)
            # A summary carried on to the next line.
            string(STRIP "${line}" line)
            string(APPEND command_summary_${name} " ${line}")
            continue()
        endif()
        list(APPEND rest "${line}")
    endforeach()
    page_roff("${rest}" SH description global_options)
    if(NOT description STREQUAL "" AND NOT description MATCHES "^\\.SH")
        string(PREPEND description ".SH DESCRIPTION\n")
    endif()
    string(APPEND man "${description}")
    if(commands)
        string(APPEND man ".SH COMMANDS\n")
    endif()
    foreach(command IN LISTS commands)
        roff(heading "${command}")
        string(APPEND man ".SS ${heading}\n")
        roff(text "${command_summary_${command}}")
        string(APPEND man "${text}\n")
        program_lines(page FALSE help "${command}")
        list(LENGTH page page_lines)
        set(command_options_${command} "")
        if(page_lines GREATER 0)
            list(GET page 0 page_usage)
            if(page_usage MATCHES "^Usage: +(.*)$")
                roff(page_usage "${CMAKE_MATCH_1}")
                string(APPEND man ".PP\n.B ${page_usage}\n")
                page_roff("${page}" SS body command_options_${command})
                if(NOT body STREQUAL "")
                    string(APPEND man ".PP\n${body}")
                endif()
            endif()
        endif()
    endforeach()
else()
    # A help text of another shape is shown as it is.
    string(APPEND man ".B ${title}\n.SH DESCRIPTION\n.nf\n")
    foreach(line IN LISTS help)
        roff(line "${line}")
        string(APPEND man "${line}\n")
    endforeach()
    string(APPEND man ".fi\n")
endif()

if(DEFINED SEE_ALSO AND NOT SEE_ALSO STREQUAL "")
    string(APPEND man ".SH SEE ALSO\n")
    set(references "")
    foreach(reference IN LISTS SEE_ALSO)
        if(reference MATCHES "^(.*)\\(([0-9])\\)$")
            roff(page_name "${CMAKE_MATCH_1}")
            list(APPEND references ".BR ${page_name} (${CMAKE_MATCH_2})")
        endif()
    endforeach()
    list(JOIN references ",\n" references)
    string(APPEND man "${references}\n")
endif()

file(WRITE "${MAN}" "${man}")

if(NOT DEFINED COMPLETION)
    return()
endif()

# Bash completion: the command names as the first word, each command's options after it, files
# everywhere else.
string(REGEX REPLACE "[^A-Za-z0-9]" "_" function "_${NAME}")
list(JOIN commands " " command_words)
list(REMOVE_DUPLICATES global_options)
list(JOIN global_options " " global_words)
set(cases "")
foreach(command IN LISTS commands)
    set(words ${command_options_${command}} --help)
    list(REMOVE_DUPLICATES words)
    list(JOIN words " " words)
    string(APPEND cases "    ${command}) options=\"${words}\" ;;\n")
endforeach()

file(WRITE "${COMPLETION}" "# bash completion for ${NAME}, made from its help text
${function}() {
    local current=\"\${COMP_WORDS[COMP_CWORD]}\"
    local commands=\"${command_words}\"
    if [ \"\$COMP_CWORD\" -eq 1 ]; then
        COMPREPLY=(\$(compgen -W \"\$commands ${global_words}\" -- \"\$current\"))
        return
    fi
    local options=\"\"
    case \"\${COMP_WORDS[1]}\" in
    help)
        [ \"\$COMP_CWORD\" -eq 2 ] && COMPREPLY=(\$(compgen -W \"\$commands\" -- \"\$current\"))
        return
        ;;
${cases}    esac
    if [[ \"\$current\" == -* ]]; then
        COMPREPLY=(\$(compgen -W \"\$options\" -- \"\$current\"))
    fi
}
complete -o default -F ${function} ${NAME}
")
