# Runs every SQL file of SQL_DIR, in name order, into the SQLite file DB.
file(GLOB sql_files ${SQL_DIR}/*.sql)
list(SORT sql_files)
foreach(f IN LISTS sql_files)
  execute_process(COMMAND ${SQLITE3} ${DB} INPUT_FILE ${f} RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${f}: ${err}")
  endif()
endforeach()
