/* A small Windows DLL that the loader tests map and run. It imports two routines from
 * "host.dll", the second by ordinal only; the tests supply both through the import hook.
 * The pointer to `counter` needs a base relocation when the DLL does not land at its
 * preferred base. Built with -DREFUSE_ATTACH its entry point refuses process attach. */
__declspec(dllimport) void __stdcall host_record(int what, int value);
__declspec(dllimport) int __stdcall host_twice(int value);

static int counter = 7;
static int* volatile counterAddress = &counter;

int __stdcall DllMain(void* instance, unsigned reason, void* reserved) {
    (void)instance;
    (void)reserved;
    host_record(1, (int)reason);
#ifdef REFUSE_ATTACH
    return reason != 1;
#else
    return 1;
#endif
}

__declspec(dllexport) int __stdcall Add(int a, int b) { return a + b; }
__declspec(dllexport) int __stdcall ReadCounter(void) { return *counterAddress; }
__declspec(dllexport) int __stdcall Twice(int x) { return host_twice(x); }
__declspec(dllexport) int __stdcall SkinH_Detach(void) { return 42; }
