#pragma once

#include <QImage>

// The pedestrian the remap viewer shows before the user opens a bitmap: seen from above, walking
// towards the top, 8-bit. It uses the colour layout of palette/colourramps.h, as the sample
// styles' ped palettes do, so a ped remap recolours each part on its own:
//   0        background, the transparency colour of every palette
//   1-79     clothes: shirt, sleeves and trousers
//   80-159   skin: face and hands
//   160-239  hair and shoes
// Its colour table is a plain pedestrian palette until a remap gives it one from the document.
inline constexpr int PedPictureSide = 32;
QImage makePedPicture();
