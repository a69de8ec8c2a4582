# Runs at install time (cmake --install), when the prefix is known: writes
# the desktop entry and the thumbnailer entry with the installed programs'
# full paths, so that they work for a prefix the desktop's PATH does not
# reach (~/.local/bin is not on every session's PATH), and installs them.
# When installing for real (no DESTDIR), the prefix's MIME and desktop
# databases are brought up to date, so .wnk files open with Penwick at once.
#
# Set before it runs: PENWICK_DESKTOP_SOURCE (this folder),
# PENWICK_DESKTOP_BINARY (a scratch folder of the build), PENWICK_APP_ID,
# PENWICK_BINDIR and PENWICK_DATADIR (relative to the prefix, or absolute),
# PENWICK_WITH_WINDOW (whether the window program is installed).

foreach(dir BINDIR DATADIR)
    if(IS_ABSOLUTE "${PENWICK_${dir}}")
        set(full_${dir} "${PENWICK_${dir}}")
    else()
        set(full_${dir} "${CMAKE_INSTALL_PREFIX}/${PENWICK_${dir}}")
    endif()
endforeach()

# In an Exec line a path with a space must be quoted; other special
# characters would need escapes of two kinds, so such a path gives way to
# the bare program name, found through PATH.
set(exec_dir "${full_BINDIR}")
set(try_dir "${full_BINDIR}/")
if(full_BINDIR MATCHES "[^A-Za-z0-9/._+~ -]")
    message(WARNING "The program folder ${full_BINDIR} cannot be written into a desktop entry; "
                    "the entries name the programs without it, to be found through PATH.")
    set(exec_dir "")
    set(try_dir "")
endif()
macro(exec_path program out)
    if(exec_dir STREQUAL "")
        set(${out} "${program}")
    elseif(exec_dir MATCHES " ")
        set(${out} "\"${exec_dir}/${program}\"")
    else()
        set(${out} "${exec_dir}/${program}")
    endif()
endmacro()
exec_path(penwick PENWICK_EXEC)
exec_path(penwick-export PENWICK_EXPORT_EXEC)
set(PENWICK_TRY_EXEC "${try_dir}penwick")
set(PENWICK_EXPORT_TRY_EXEC "${try_dir}penwick-export")

# A folder of its own for each install, so that installs may run side by side.
string(RANDOM LENGTH 8 run)
set(written "${PENWICK_DESKTOP_BINARY}/installed-${run}")
file(MAKE_DIRECTORY "${written}")
configure_file("${PENWICK_DESKTOP_SOURCE}/${PENWICK_APP_ID}.thumbnailer.in"
               "${written}/${PENWICK_APP_ID}.thumbnailer" @ONLY)
file(INSTALL DESTINATION "${full_DATADIR}/thumbnailers" TYPE FILE
     FILES "${written}/${PENWICK_APP_ID}.thumbnailer")
if(PENWICK_WITH_WINDOW)
    configure_file("${PENWICK_DESKTOP_SOURCE}/${PENWICK_APP_ID}.desktop.in"
                   "${written}/${PENWICK_APP_ID}.desktop" @ONLY)
    file(INSTALL DESTINATION "${full_DATADIR}/applications" TYPE FILE
         FILES "${written}/${PENWICK_APP_ID}.desktop")
endif()

if("$ENV{DESTDIR}" STREQUAL "")
    find_program(update_mime update-mime-database)
    if(update_mime)
        message(STATUS "Updating the MIME database in ${full_DATADIR}/mime")
        execute_process(COMMAND "${update_mime}" "${full_DATADIR}/mime" RESULT_VARIABLE failed)
        if(failed)
            message(WARNING "update-mime-database ${full_DATADIR}/mime failed; "
                            ".wnk files are known as Penwick sketches only once it has run")
        endif()
    endif()
    find_program(update_desktop update-desktop-database)
    if(update_desktop AND PENWICK_WITH_WINDOW)
        execute_process(COMMAND "${update_desktop}" "${full_DATADIR}/applications"
                        RESULT_VARIABLE ignored OUTPUT_QUIET ERROR_QUIET)
    endif()
endif()

file(REMOVE_RECURSE "${written}")
