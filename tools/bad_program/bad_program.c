/* A program that Windows 95 cannot load, built only to show that the import audit refuses it,
   fault by fault: a function 95 lacks (GetTickCount64), a function that is a stub there
   (CopyFileW), an import by ordinal (comctl32 #410, the subclassing call that 98 and ME export by
   ordinal only), a delay-loaded function 95 lacks (AnimateWindow) and subsystem and OS versions
   6.0. It is never run. Declared by hand, since the headers are asked for the Windows 95 level of
   the API; the two import libraries come from bad_ordinal.def and bad_delay.def. */
__declspec(dllimport) unsigned long long __stdcall GetTickCount64(void);
__declspec(dllimport) int __stdcall CopyFileW(const unsigned short*, const unsigned short*, int);
__declspec(dllimport) int ByOrdinal410(void);
__declspec(dllimport) int AnimateWindow(void);

int main(void) {
  return (int)GetTickCount64() + CopyFileW(0, 0, 0) + ByOrdinal410() + AnimateWindow();
}
