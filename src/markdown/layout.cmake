# The block layout engine: themes and styles, inline text, layout nodes and the view that
# paints them. Kept apart from the document model's library, which it builds on.
kestrune_add_library(kestrune_markdown_layout
  blockconfiguration.h
  blockmargin.h
  blockstyle.h
  blockview.cpp blockview.h blockviewnode_p.h
  codehighlightrange.h
  fontproperties.cpp fontproperties.h
  imageprovider.cpp imageprovider.h
  inlinetextrenderer.cpp inlinetextrenderer.h
  inlinetextstyles.h
  layoutboxnode.cpp layoutboxnode_p.h
  layoutbuildcontext_p.h
  layoutbuilder.cpp layoutbuilder_p.h
  layoutdocument.cpp layoutdocument_p.h
  layoutflownode.cpp layoutflownode_p.h
  layoutfontcache.cpp layoutfontcache_p.h
  layoutimagenode.cpp layoutimagenode_p.h
  layoutimagestore.cpp layoutimagestore_p.h
  layoutlistnode.cpp layoutlistnode_p.h
  layoutnode.cpp layoutnode_p.h
  layoutnodedisposal.cpp layoutnodedisposal_p.h
  layoutscrollnode.cpp layoutscrollnode_p.h
  layoutsequencenode.cpp layoutsequencenode_p.h
  layoutshapenode.cpp layoutshapenode_p.h
  layoutstacknode.cpp layoutstacknode_p.h
  layoutsymbolnode.cpp layoutsymbolnode_p.h
  layouttablenode.cpp layouttablenode_p.h
  layouttextcache.cpp layouttextcache_p.h
  layouttextnode.cpp layouttextnode_p.h
  length.h
  markdownchunker.cpp markdownchunker_p.h
  markdownenvironment.h
  markdownview.cpp markdownview.h
  markerstyles.cpp markerstyles.h
  networkimageprovider.cpp networkimageprovider.h
  rawimagedata.h
  relativesize.cpp relativesize.h
  softbreakmode.h
  styledtext.cpp styledtext.h
  tablebackgroundstyle.h
  tableborderstyle.cpp tableborderstyle.h
  textattributes.cpp textattributes.h
  textlinestyle.h
  textlinebreaker.cpp textlinebreaker_p.h
  textstyle.cpp textstyle.h
  theme.cpp theme.h
)
target_link_libraries(kestrune_markdown_layout PUBLIC kestrune_markdown kestrune_ui Qt6::Widgets)
