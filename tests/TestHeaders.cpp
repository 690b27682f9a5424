// The target that compiles the test programs' precompiled headers needs a source of its own.
