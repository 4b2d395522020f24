# Authenticode signing with osslsigncode, from a certificate given in the environment at build
# time (never from the repository):
#   PAGEWARDEN_SIGN_PFX        the certificate and its private key, a PFX (PKCS#12) file
#   PAGEWARDEN_SIGN_PASSWORD   the PFX file's password
#   PAGEWARDEN_SIGN_TIMESTAMP  an RFC 3161 time-stamp address (optional)
# Without PAGEWARDEN_SIGN_PFX the files stay unsigned, and it says so.
#
#   cmake -DFILE=pgwatch.exe -DDESCRIPTION=Pagewarden -DWEBSITE=https://... -P cmake/sign.cmake
#       signs FILE in place
#   cmake -DSTAMP=signing.txt -P cmake/sign.cmake
#       writes which certificate signs into STAMP, touching it only when that changes, so the
#       build signs again exactly when the certificate changes

# Signs `file` in place; a file that failed to be signed is removed, so the next build makes it
# again instead of leaving it unsigned.
function(pw_sign file description website)
  get_filename_component(name "${file}" NAME)
  if("$ENV{PAGEWARDEN_SIGN_PFX}" STREQUAL "")
    message(STATUS "${name} is not signed: no certificate given (PAGEWARDEN_SIGN_PFX)")
    return()
  endif()
  find_program(PW_OSSLSIGNCODE osslsigncode)
  if(NOT PW_OSSLSIGNCODE)
    file(REMOVE "${file}")
    message(FATAL_ERROR "osslsigncode not found: cannot sign ${name}")
  endif()
  set(args sign -pkcs12 "$ENV{PAGEWARDEN_SIGN_PFX}" -h sha256 -n "${description}" -i "${website}")
  if(NOT "$ENV{PAGEWARDEN_SIGN_TIMESTAMP}" STREQUAL "")
    list(APPEND args -ts "$ENV{PAGEWARDEN_SIGN_TIMESTAMP}")
  endif()
  # The password goes through a file in a folder only this user may enter, not the command
  # line, which other users of the machine can read.
  string(RANDOM LENGTH 12 nonce)
  set(private "${file}.sign-${nonce}")
  file(MAKE_DIRECTORY "${private}")
  file(CHMOD "${private}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  file(WRITE "${private}/password" "$ENV{PAGEWARDEN_SIGN_PASSWORD}")
  execute_process(COMMAND "${PW_OSSLSIGNCODE}" ${args} -readpass "${private}/password"
                          -in "${file}" -out "${private}/signed"
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(result EQUAL 0)
    file(RENAME "${private}/signed" "${file}")
  endif()
  file(REMOVE_RECURSE "${private}")
  if(NOT result EQUAL 0)
    file(REMOVE "${file}")
    message(FATAL_ERROR "Signing ${name} failed:\n${output}")
  endif()
  if("$ENV{PAGEWARDEN_SIGN_TIMESTAMP}" STREQUAL "")
    message(STATUS "Signed ${name} without a time stamp (no PAGEWARDEN_SIGN_TIMESTAMP)")
  else()
    message(STATUS "Signed and time-stamped ${name}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  if(DEFINED STAMP)
    set(identity "unsigned")
    if(NOT "$ENV{PAGEWARDEN_SIGN_PFX}" STREQUAL "")
      file(SHA256 "$ENV{PAGEWARDEN_SIGN_PFX}" identity)
      set(identity "${identity} $ENV{PAGEWARDEN_SIGN_TIMESTAMP}")
    endif()
    set(old "")
    if(EXISTS "${STAMP}")
      file(READ "${STAMP}" old)
    endif()
    if(NOT old STREQUAL identity)
      file(WRITE "${STAMP}" "${identity}")
    endif()
  else()
    pw_sign("${FILE}" "${DESCRIPTION}" "${WEBSITE}")
  endif()
endif()
