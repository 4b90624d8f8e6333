# Tests of the block layout engine, its styles and the inline text renderer.
kestrune_add_test(tst_inlinetextrenderer
  SOURCES tst_inlinetextrenderer.cpp
  LIBRARIES kestrune_markdown_layout)

kestrune_add_test(tst_markdownlayout
  SOURCES tst_markdownlayout.cpp testimageprovider.h
  LIBRARIES kestrune_markdown_layout)
target_compile_definitions(tst_markdownlayout PRIVATE
  LAYOUT_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/layout")

kestrune_add_test(tst_markdownview
  SOURCES tst_markdownview.cpp testimageprovider.h
  LIBRARIES kestrune_markdown_layout)

kestrune_add_test(tst_textlinebreaker
  SOURCES tst_textlinebreaker.cpp
  LIBRARIES kestrune_markdown_layout)

kestrune_add_test(tst_layoutnodedisposal
  SOURCES tst_layoutnodedisposal.cpp
  LIBRARIES kestrune_markdown_layout)
