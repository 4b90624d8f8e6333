# Who answers for the package: the Debian package's Maintainer and the metadata's contact. The
# default is no one's address; a release build names a real one (the packaging test insists).
set(KESTRUNE_MAINTAINER "The Kestrune Viewer developers <maintainers@kestrune.example.org>"
    CACHE STRING "Maintainer of the package as \"Name <mail>\": the Debian Maintainer and the metadata's contact")
if(NOT KESTRUNE_MAINTAINER MATCHES "^[^<>]+ <([^<> ]+@[^<> ]+)>$")
  message(FATAL_ERROR "KESTRUNE_MAINTAINER must read \"Name <mail>\", not \"${KESTRUNE_MAINTAINER}\"")
endif()
set(KESTRUNE_MAINTAINER_EMAIL ${CMAKE_MATCH_1})
