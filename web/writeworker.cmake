# Writes the site's service worker from its template: the list of every file
# of the site (the page itself as "./" too) and a version made from their
# contents. Run as: cmake -DSITE=dir -DTEMPLATE=sw.js.in -P writeworker.cmake
file(GLOB files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(hashes "")
set(quoted "\"./\"")
foreach(file IN LISTS files)
  file(SHA256 ${SITE}/${file} hash)
  string(APPEND hashes "${file} ${hash}\n")
  string(APPEND quoted ",\n  \"${file}\"")
endforeach()
string(SHA256 version "${hashes}")
string(SUBSTRING ${version} 0 16 SITE_VERSION)
set(SITE_FILES "${quoted}")
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
