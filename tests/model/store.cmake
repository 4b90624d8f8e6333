# The project store; included from this folder's CMakeLists.txt.
kestrune_add_test(tst_projectstore SOURCES tst_projectstore.cpp LIBRARIES kestrune_model_testsupport)
