# write_many_topics(DIR COUNT): a help project with COUNT small topics, enough files that the
# archive's listing takes more than one chunk. Topic n holds the word "uniqueword<n>".
# many.hhp has a contents tree of every topic; loose.hhp the same topics and nothing else, so
# that only the archive's listing leads to them.
function(write_many_topics dir count)
    set(files "")
    set(toc "<html><body><ul>\n")
    math(EXPR last "${count} - 1")
    foreach(n RANGE ${last})
        set(page "<html><head><title>Topic ${n}</title></head><body><p>uniqueword${n} shared text</p></body></html>\n")
        file(CONFIGURE OUTPUT ${dir}/topic${n}.htm CONTENT "${page}" @ONLY)
        string(APPEND files "topic${n}.htm\n")
        string(APPEND toc "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Topic ${n}\"><param name=\"Local\" value=\"topic${n}.htm\"></object>\n")
    endforeach()
    string(APPEND toc "</ul></body></html>\n")
    file(CONFIGURE OUTPUT ${dir}/toc.hhc CONTENT "${toc}" @ONLY)
    file(CONFIGURE OUTPUT ${dir}/many.hhp CONTENT
"[OPTIONS]
Compiled file=many.chm
Contents file=toc.hhc
Default topic=topic0.htm
Title=Many Topics

[FILES]
${files}" @ONLY)
    file(CONFIGURE OUTPUT ${dir}/loose.hhp CONTENT
"[OPTIONS]
Compiled file=loose.chm
Default topic=topic0.htm
Title=Loose Topics

[FILES]
${files}" @ONLY)
endfunction()
