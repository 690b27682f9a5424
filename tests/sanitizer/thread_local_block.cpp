// A library loaded with dlopen whose thread-local variables glibc allocates with malloc, on
// first use in each thread.
thread_local void* slots[3];

extern "C" void** ThreadLocalSlots() { return slots; }
