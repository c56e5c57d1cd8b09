/* Stands in for ICQ's program file in a demo installation: it only carries a version. */
int StubMain(void) {
  return 0;
}
