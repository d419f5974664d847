cmake_minimum_required(VERSION 3.25)
# Fails when a folder of src/ includes a header of a folder above it in the layering of
# docs/architecture.md: db knows no other folder, app and schema know only db, the
# referentials know nothing of the monitoring, nor do their screens of the monitoring screens;
# the imports stand above the monitoring and below the screens; quality assessment stands above
# the monitoring and the referentials, and nothing below it includes it; so do the index
# calculators, which know neither the imports nor the screens; the XML checker knows no folder.
set(interdits
    "^db/:^(app|classeur|schema|monitoring|referentials|users|ui|cli)/"
    "^classeur/:^(db|app|schema|monitoring|referentials|users|import|ui|cli)/"
    "^app/:^(schema|monitoring|referentials|users|ui|cli)/"
    "^schema/:^(app|monitoring|referentials|users|ui|cli)/"
    "^referentials/:^(monitoring|ui|cli)/"
    "^ui/referentials/:^ui/monitoring/"
    "^(db|app|schema|referentials|monitoring|users)/:^import/"
    "^import/:^(ui|cli)/"
    "^(db|app|classeur|schema|referentials|monitoring|users|import)/:^quality/"
    "^quality/:^(import|users|indices|carto|search|requests|ui|cli)/"
    "^(db|classeur|app|schema|referentials|monitoring|users|import|quality)/:^carto/"
    "^carto/:^(ui|cli)/"
    "^(db|app|classeur|schema|referentials|monitoring|users|import|quality)/:^indices/"
    "^indices/:^(import|users|carto|search|requests|ui|cli)/"
    "^(db|app|classeur|schema|referentials|monitoring|users|import|quality|carto|indices|search)/:^demandes/"
    "^demandes/:^(ui|cli)/"
    "^xml/:^(db|app|classeur|schema|monitoring|referentials|users|import|quality|carto|indices|search|requests|campagnes|demandes|ui|cli)/")
file(GLOB_RECURSE fichiers ${SRC}/*.cpp ${SRC}/*.h)
set(fautes)
foreach(f IN LISTS fichiers)
    file(RELATIVE_PATH rel ${SRC} ${f})
    file(STRINGS ${f} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(regle IN LISTS interdits)
        string(REPLACE ":" ";" paire "${regle}")
        list(GET paire 0 source)
        list(GET paire 1 cible)
        if(NOT rel MATCHES "${source}")
            continue()
        endif()
        foreach(ligne IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" nom "${ligne}")
            if(nom MATCHES "${cible}")
                list(APPEND fautes "${rel}: ${nom}")
            endif()
        endforeach()
    endforeach()
endforeach()
if(fautes)
    list(JOIN fautes "\n  " texte)
    message(FATAL_ERROR "Inclusions contraires aux couches :\n  ${texte}")
endif()
message(STATUS "Les inclusions suivent les couches.")
