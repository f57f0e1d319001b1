#pragma once

// Makes the skin's cursor `index` (0 normal, 1 move, 2 horizontal, 3 vertical,
// 4 diagonal resizing) the mouse sprite with its focus point; any other index
// leaves the sprite as it is. The program object
// registers it as the cursor shapes (RegisterCursorShapes).
void ShowSkinCursor(int index);
