#pragma once

class HelpFile;

// The search index of a help file is read on a thread of its own as soon as a window shows the
// file, so that the first search finds it ready.

// Starts reading it, when nothing has; the calling thread's dispatcher is woken when it is done.
void prepareCatalogInBackground(const HelpFile& file);

// Waits until it is read, inside the calling thread's dispatcher: the windows keep answering
// meanwhile. Starts the reading when nothing has.
void waitForCatalog(const HelpFile& file);
