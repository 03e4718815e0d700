#include "cli/carcommands.h"
#include "cli/clicommands.h"
#include "cli/commandline.h"
#include "cli/deltacommands.h"
#include "cli/foldercommands.h"
#include "cli/rendercommands.h"
#include "cli/spritecommands.h"
#include "cli/stylecheckcommands.h"

namespace {

OptionSpec strict() {
    return {QStringLiteral("--strict"), QString(),
            QStringLiteral("refuse a style file the reader warns of (cut short, bytes ignored, ...)")};
}

OptionSpec verbose() {
    return {QStringLiteral("--verbose"), QString(),
            QStringLiteral("print the writer's log chunk by chunk instead of one line")};
}

OptionSpec json() {
    return {QStringLiteral("--json"), QString(),
            QStringLiteral("print one JSON document instead, its keys in alphabetical order")};
}

OptionSpec scale() {
    return {QStringLiteral("--scale"), QStringLiteral("N"),
            QStringLiteral("each pixel N*N pixels, N from 1 to 16")};
}

OptionSpec colours() {
    return {QStringLiteral("--colours"), QStringLiteral("C"),
            QStringLiteral("colours the palette lacks: match refuses (default), nearest, indexes"),
            QStringLiteral("--colors")};
}

} // namespace

const std::vector<CommandSpec> &commandTable() {
    static const std::vector<CommandSpec> table = {
        {QStringLiteral("info"),
         {QStringLiteral("FILE.sty")},
         QStringLiteral("show the load log and what the style file holds"),
         QStringLiteral("Loads FILE.sty and shows the load log, then a summary of every table."),
         {json(), strict()},
         {QStringLiteral("vyr2-sty info my.sty")},
         runInfo},
        {QStringLiteral("resave"),
         {QStringLiteral("IN.sty"), QStringLiteral("OUT")},
         QStringLiteral("load a style file and save it again"),
         QStringLiteral("Loads IN.sty and saves it through the editor's writer as OUT (its extension\n"
                        "becomes .sty)."),
         {strict(), verbose()},
         {QStringLiteral("vyr2-sty resave my.sty copy.sty")},
         runResave},
        {QStringLiteral("sample"),
         {QStringLiteral("OUT")},
         QStringLiteral("write the sample style file and its nyc.gci"),
         QStringLiteral("Writes the sample style, or with --large the benchmark style (62 tile pages,\n"
                        "640 palettes, 3001 sprites, 256 cars), as OUT and its car script nyc.gci\n"
                        "beside it."),
         {{QStringLiteral("--large"), QString(), QStringLiteral("write the benchmark style")},
          {QStringLiteral("--force"), QString(), QStringLiteral("replace an existing OUT or nyc.gci")},
          verbose()},
         {QStringLiteral("vyr2-sty sample start.sty"), QStringLiteral("vyr2-sty sample --large big.sty")},
         runSample},
        {QStringLiteral("export-palettes"),
         {QStringLiteral("FILE.sty"), QStringLiteral("OUT.bmp")},
         QStringLiteral("write the palette table as a 24-bit bitmap"),
         QStringLiteral("Writes the palette table of FILE.sty as a 24-bit bitmap, one column per\n"
                        "palette."),
         {strict()},
         {QStringLiteral("vyr2-sty export-palettes my.sty palettes.bmp")},
         runExportPalettes},
        {QStringLiteral("import-palettes"),
         {QStringLiteral("FILE.sty"), QStringLiteral("IN.bmp"), QStringLiteral("OUT.sty")},
         QStringLiteral("replace the palettes by a palette table bitmap"),
         QStringLiteral("Replaces the palettes of FILE.sty by a palette table bitmap as export-palettes\n"
                        "writes it, and saves the result as OUT.sty."),
         {strict(), verbose()},
         {QStringLiteral("vyr2-sty import-palettes my.sty palettes.bmp out.sty")},
         runImportPalettes},
        {QStringLiteral("add-palettes"),
         {QStringLiteral("FILE.sty"), QStringLiteral("OUT.sty")},
         QStringLiteral("the palette table's \">>\": up to the next multiple of 64"),
         QStringLiteral("Adds palettes up to the next multiple of 64 (at most 640); the palettes added\n"
                        "are black. Saves the result as OUT.sty."),
         {strict(), verbose()},
         {QStringLiteral("vyr2-sty add-palettes my.sty out.sty")},
         runPaletteBlock},
        {QStringLiteral("remove-palettes"),
         {QStringLiteral("FILE.sty"), QStringLiteral("OUT.sty")},
         QStringLiteral("the palette table's \"<<\": down to the previous multiple of 64"),
         QStringLiteral("Removes palettes down to the previous multiple of 64 (at least 64). Saves the\n"
                        "result as OUT.sty."),
         {strict(), verbose()},
         {QStringLiteral("vyr2-sty remove-palettes my.sty out.sty")},
         runPaletteBlock},
        {QStringLiteral("export-pal"),
         {QStringLiteral("FILE.sty"), QStringLiteral("PALETTE"), QStringLiteral("OUT.pal")},
         QStringLiteral("write one physical palette as a JASC text palette"),
         QStringLiteral("Writes physical palette PALETTE of FILE.sty as a JASC text palette; - as OUT.pal\n"
                        "writes it to standard output."),
         {strict()},
         {QStringLiteral("vyr2-sty export-pal my.sty 3 three.pal")},
         runExportPal},
        {QStringLiteral("import-pal"),
         {QStringLiteral("FILE.sty"), QStringLiteral("PALETTE"), QStringLiteral("IN.pal"),
          QStringLiteral("OUT.sty")},
         QStringLiteral("read a JASC text palette into one physical palette"),
         QStringLiteral("Reads a JASC text palette into physical palette PALETTE of FILE.sty and saves\n"
                        "the result as OUT.sty."),
         {strict(), verbose()},
         {QStringLiteral("vyr2-sty import-pal my.sty 3 three.pal out.sty")},
         runImportPal},
        {QStringLiteral("export-tiles"),
         {QStringLiteral("FILE.sty"), QStringLiteral("DIR")},
         QStringLiteral("write every tile as an 8-bit bitmap with its palette"),
         QStringLiteral("Writes every tile of FILE.sty as an 8-bit bitmap with its palette into the\n"
                        "folder DIR, named by the pattern."),
         {{QStringLiteral("--pattern"), QStringLiteral("P"),
           QStringLiteral("file name pattern, %d the tile number (default VYR2_TILE_%d.bmp)")},
          {QStringLiteral("--png"), QString(),
           QStringLiteral("write palette PNGs: the pattern's extension becomes .png")},
          strict()},
         {QStringLiteral("vyr2-sty export-tiles my.sty tiles")},
         runExportTiles},
        {QStringLiteral("import-tile"),
         {QStringLiteral("FILE.sty"), QStringLiteral("TILE"), QStringLiteral("IN.bmp"),
          QStringLiteral("OUT.sty")},
         QStringLiteral("copy a 64*64 8-bit bitmap into one tile"),
         QStringLiteral("Copies a 64*64 8-bit bitmap into tile TILE and saves the result as OUT.sty.\n"
                        "keep leaves the palettes alone (the default), map:N gives the tile physical\n"
                        "palette N, and import:N also writes the bitmap's colours into it."),
         {{QStringLiteral("--palette"), QStringLiteral("keep|map:N|import:N"),
           QStringLiteral("what becomes of the tile's palette")},
          colours(),
          strict(),
          verbose()},
         {QStringLiteral("vyr2-sty import-tile my.sty 3 tile3.bmp out.sty --palette map:7")},
         runImportTile},
        {QStringLiteral("import-tiles"),
         {QStringLiteral("FILE.sty"), QStringLiteral("DIR"), QStringLiteral("OUT.sty")},
         QStringLiteral("import every tile file of a folder"),
         QStringLiteral("Imports every tile whose file the folder DIR holds, named by the pattern, as\n"
                        "import-tile takes one, and saves the result as OUT.sty. The first file refused\n"
                        "stops the run and nothing is written."),
         {{QStringLiteral("--pattern"), QStringLiteral("P"),
           QStringLiteral("file name pattern, %d the tile number (default VYR2_TILE_%d.bmp)")},
          {QStringLiteral("--palette"), QStringLiteral("keep|map:N|import:N"),
           QStringLiteral("what becomes of each tile's palette")},
          colours(),
          strict(),
          verbose()},
         {QStringLiteral("vyr2-sty import-tiles my.sty tiles out.sty")},
         runImportTiles},
        {QStringLiteral("export-raw-tiles"),
         {QStringLiteral("FILE.sty"), QStringLiteral("OUT.bmp")},
         QStringLiteral("write the whole tile store as one 8-bit bitmap"),
         QStringLiteral("Writes the whole tile store of FILE.sty as one 8-bit bitmap over a grey ramp."),
         {strict()},
         {QStringLiteral("vyr2-sty export-raw-tiles my.sty tiles.bmp")},
         runExportRaw},
        {QStringLiteral("import-raw-tiles"),
         {QStringLiteral("FILE.sty"), QStringLiteral("IN.bmp"), QStringLiteral("OUT.sty")},
         QStringLiteral("replace the tile store by one 8-bit bitmap"),
         QStringLiteral("Replaces the tile store by an 8-bit bitmap 256 wide and a multiple of 256 high,\n"
                        "and saves the result as OUT.sty."),
         {colours(), strict(), verbose()},
         {QStringLiteral("vyr2-sty import-raw-tiles my.sty tiles.bmp out.sty")},
         runImportRaw},
        {QStringLiteral("render-tiles"),
         {QStringLiteral("FILE.sty"), QStringLiteral("OUT.png")},
         QStringLiteral("draw the texture grid as the Textures page shows it"),
         QStringLiteral("Draws the texture grid of FILE.sty as the Textures page shows it, labels\n"
                        "included, as a PNG or, for a name ending in .bmp, a 24-bit bitmap; - writes\n"
                        "the PNG to standard output."),
         {scale(), strict()},
         {QStringLiteral("vyr2-sty render-tiles my.sty tiles.png")},
         runRenderTiles},
        {QStringLiteral("export-sprites"),
         {QStringLiteral("FILE.sty"), QStringLiteral("DIR")},
         QStringLiteral("write a range of sprites as 8-bit bitmaps"),
         QStringLiteral("Writes sprites S to E (all by default) as 8-bit bitmaps with their palettes\n"
                        "into the folder DIR, named VYR2_KIND_N.bmp."),
         {{QStringLiteral("--start"), QStringLiteral("S"), QStringLiteral("the first sprite (default 0)")},
          {QStringLiteral("--end"), QStringLiteral("E"),
           QStringLiteral("the last sprite (default the last one)")},
          {QStringLiteral("--png"), QString(), QStringLiteral("write palette PNGs instead of bitmaps")},
          strict()},
         {QStringLiteral("vyr2-sty export-sprites my.sty sprites --start 10 --end 20")},
         runExportSprites},
        {QStringLiteral("import-sprite"),
         {QStringLiteral("FILE.sty"), QStringLiteral("SPRITE"), QStringLiteral("IN.bmp"),
          QStringLiteral("OUT.sty")},
         QStringLiteral("copy a bitmap of the sprite's size into one sprite"),
         QStringLiteral("Copies a bitmap of the sprite's size into sprite SPRITE and saves the result as\n"
                        "OUT.sty. C is the import dialog's result, by code or by name:\n"
                        "  5 over-current   the colours over the sprite's palette\n"
                        "  1 into-chosen    the colours into palette N, which the sprite then uses\n"
                        "  2 change-only    the sprite uses palette N; no colours or pixels imported\n"
                        "  3 palette-hack   the colours into palette N only\n"
                        "  4 pixels-only    the pixels only\n"
                        "Choices 1 to 3 need --palette N, 4 and 5 take none."),
         {{QStringLiteral("--choice"), QStringLiteral("C"), QStringLiteral("the import dialog's result")},
          {QStringLiteral("--palette"), QStringLiteral("N"), QStringLiteral("the palette of choices 1 to 3")},
          colours(),
          strict(),
          verbose()},
         {QStringLiteral("vyr2-sty import-sprite my.sty 12 car.bmp out.sty --choice pixels-only")},
         runImportSprite},
        {QStringLiteral("import-sprites"),
         {QStringLiteral("FILE.sty"), QStringLiteral("DIR"), QStringLiteral("OUT.sty")},
         QStringLiteral("import a range of sprites from a folder"),
         QStringLiteral("Imports every sprite of the range (all by default) whose file the folder DIR\n"
                        "holds by the name export-sprites gives it (.bmp or .png), as import-sprite\n"
                        "takes one, and saves the result as OUT.sty. The first file refused stops the\n"
                        "run and nothing is written."),
         {{QStringLiteral("--start"), QStringLiteral("S"), QStringLiteral("the first sprite (default 0)")},
          {QStringLiteral("--end"), QStringLiteral("E"),
           QStringLiteral("the last sprite (default the last one)")},
          {QStringLiteral("--choice"), QStringLiteral("C"),
           QStringLiteral("the import dialog's result, as import-sprite")},
          {QStringLiteral("--palette"), QStringLiteral("N"), QStringLiteral("the palette of choices 1 to 3")},
          colours(),
          strict(),
          verbose()},
         {QStringLiteral("vyr2-sty import-sprites my.sty sprites out.sty --choice pixels-only")},
         runImportSprites},
        {QStringLiteral("export-raw-sprites"),
         {QStringLiteral("FILE.sty"), QStringLiteral("OUT.bmp")},
         QStringLiteral("write the whole sprite store as one 8-bit bitmap"),
         QStringLiteral("Writes the whole sprite store of FILE.sty as one 8-bit bitmap over a grey ramp."),
         {strict()},
         {QStringLiteral("vyr2-sty export-raw-sprites my.sty sprites.bmp")},
         runExportRaw},
        {QStringLiteral("import-raw-sprites"),
         {QStringLiteral("FILE.sty"), QStringLiteral("IN.bmp"), QStringLiteral("OUT.sty")},
         QStringLiteral("replace the sprite store by one 8-bit bitmap"),
         QStringLiteral("Replaces the sprite store by an 8-bit bitmap 256 wide and a multiple of 256\n"
                        "high, and saves the result as OUT.sty."),
         {colours(), strict(), verbose()},
         {QStringLiteral("vyr2-sty import-raw-sprites my.sty sprites.bmp out.sty")},
         runImportRaw},
        {QStringLiteral("sprite-info"),
         {QStringLiteral("FILE.sty"), QStringLiteral("SPRITE")},
         QStringLiteral("show the info panel's lines for one sprite"),
         QStringLiteral("Shows what the info panel shows for sprite SPRITE."),
         {json(), strict()},
         {QStringLiteral("vyr2-sty sprite-info my.sty 12")},
         runSpriteInfo},
        {QStringLiteral("render-sprites"),
         {QStringLiteral("FILE.sty"), QStringLiteral("OUT.png")},
         QStringLiteral("draw the sprite pages as the Sprites page shows them"),
         QStringLiteral("Draws the sprite pages of FILE.sty as the Sprites page shows them, as a PNG or,\n"
                        "for a name ending in .bmp, a 24-bit bitmap; - writes the PNG to standard\n"
                        "output."),
         {{QStringLiteral("--borders"), QString(), QStringLiteral("draw each sprite's border")},
          scale(),
          strict()},
         {QStringLiteral("vyr2-sty render-sprites my.sty sprites.png --borders")},
         runRenderSprites},
        {QStringLiteral("deltas"),
         {QStringLiteral("FILE.sty"), QStringLiteral("SPRITE"), QStringLiteral("OUT.bmp")},
         QStringLiteral("write the delta sheet of one sprite as an 8-bit bitmap"),
         QStringLiteral("Writes the delta sheet of sprite SPRITE as an 8-bit bitmap: each delta over\n"
                        "the sprite (draw, the default), the plain sprite (cars) or the deltas alone\n"
                        "(changes); only the draw sheet imports back as the same drawing."),
         {{QStringLiteral("--view"), QStringLiteral("draw|cars|changes"),
           QStringLiteral("what each cell shows")},
          strict()},
         {QStringLiteral("vyr2-sty deltas my.sty 4 sheet.bmp")},
         runDeltas},
        {QStringLiteral("import-deltas"),
         {QStringLiteral("FILE.sty"), QStringLiteral("SPRITE"), QStringLiteral("SHEET.bmp"),
          QStringLiteral("OUT.sty")},
         QStringLiteral("make a delta sheet's cells a car sprite's deltas"),
         QStringLiteral("Makes the twenty cells of a delta sheet the deltas 0 to 19 of car sprite SPRITE\n"
                        "and saves the result as OUT.sty; deltas from 20 on are kept."),
         {strict(), verbose()},
         {QStringLiteral("vyr2-sty import-deltas my.sty 4 sheet.bmp out.sty")},
         runImportDeltas},
        {QStringLiteral("publish-car"),
         {QStringLiteral("FILE.sty"), QStringLiteral("SPRITE"), QStringLiteral("NAME")},
         QStringLiteral("write NAME.zip and NAME.gif of a car sprite"),
         QStringLiteral("Writes NAME.zip (the car's bitmap, its delta sheet, its GIF picture and\n"
                        "readme.txt) and NAME.gif."),
         {strict()},
         {QStringLiteral("vyr2-sty publish-car my.sty 4 mycar")},
         runPublishCar},
        {QStringLiteral("car-info"),
         {QStringLiteral("FILE.sty"), QStringLiteral("CAR")},
         QStringLiteral("show every field of one car record"),
         QStringLiteral("Shows every field of car record CAR, its doors, its script name and its\n"
                        "physics from the nyc.gci beside FILE.sty."),
         {json(), strict()},
         {QStringLiteral("vyr2-sty car-info my.sty 2")},
         runCarInfo},
        {QStringLiteral("mirror-doors"),
         {QStringLiteral("IN.sty"), QStringLiteral("OUT.sty")},
         QStringLiteral("move every door of every car to the other side"),
         QStringLiteral("Moves every door of every car to the other side and saves the result as\n"
                        "OUT.sty."),
         {strict(), verbose()},
         {QStringLiteral("vyr2-sty mirror-doors my.sty out.sty")},
         runMirrorDoors},
        {QStringLiteral("unpack"),
         {QStringLiteral("FILE.sty"), QStringLiteral("DIR")},
         QStringLiteral("write the style file as a folder of JSON, PNG and text files"),
         QStringLiteral("Writes FILE.sty as the folder DIR: style.json, cars.txt, a palette PNG per\n"
                        "tile, sprite and delta sheet, the palettes as PNG and JASC text, unknown\n"
                        "chunks in raw/. DIR must not exist or be empty."),
         {{QStringLiteral("--update"), QString(),
           QStringLiteral("bring the existing DIR in step: rewrite what changed, remove what is gone")},
          strict()},
         {QStringLiteral("vyr2-sty unpack my.sty my"), QStringLiteral("vyr2-sty unpack --update my.sty my")},
         runUnpack},
        {QStringLiteral("pack"),
         {QStringLiteral("DIR"), QStringLiteral("OUT.sty")},
         QStringLiteral("build the style file of an unpacked folder"),
         QStringLiteral("Builds the style file of such a folder and saves it as OUT.sty; DIR is then\n"
                        "brought in step with OUT.sty."),
         {{QStringLiteral("--keep-unknown"), QString(), QStringLiteral("also write the raw/ chunks")},
          colours(),
          verbose()},
         {QStringLiteral("vyr2-sty pack my out.sty")},
         runPack},
        {QStringLiteral("check"),
         {QStringLiteral("FILE.sty")},
         QStringLiteral("list what would trip the game or the editor"),
         QStringLiteral("Lists what would trip the game or the editor, one \"error: \" or \"warning: \"\n"
                        "line each naming the table entry. Exit status 1 when any is an error, 2 when\n"
                        "the file cannot be read."),
         {json(), strict()},
         {QStringLiteral("vyr2-sty check my.sty")},
         runCheck},
        {QStringLiteral("diff"),
         {QStringLiteral("A.sty"), QStringLiteral("B.sty")},
         QStringLiteral("list what differs between two style files"),
         QStringLiteral("Lists what differs, by meaning, one line each (\"car 2 passengers: 1 -> 2\").\n"
                        "Exit status 0 when equal, 1 when they differ, 2 when a file cannot be read."),
         {{QStringLiteral("--png"), QStringLiteral("OUT.png"),
           QStringLiteral("draw each changed tile and sprite before (left) and after (right)")},
          json(),
          strict()},
         {QStringLiteral("vyr2-sty diff old.sty new.sty --png changes.png")},
         runDiff},
    };
    return table;
}
