// The shared library is the interface archive linked whole; this unit only
// gives the target a source of its own.
