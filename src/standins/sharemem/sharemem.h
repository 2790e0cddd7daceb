#pragma once

// Prepares the memory that the main program and its modules share. The main program
// calls it once when its window is first shown and relies on nothing but its return.
extern "C" void smInitValues();

/// How many times smInitValues ran in this process.
extern "C" int smInitCount();
