// Prints the ProductVersion of a Windows Installer package, the version its
// File table gives the module (the file BexoraCpl), and the file version of
// a module, one line each, as Windows reads them; an empty line for an empty
// argument or one that cannot be read.
// Usage: cscript //nologo versions.js PACKAGE MODULE
var args = WScript.Arguments;
var packageVersion = "", tableVersion = "", moduleVersion = "";
function first(database, sql) {
  var view = database.OpenView(sql);
  view.Execute();
  var record = view.Fetch();
  return record ? record.StringData(1) : "";
}
try {
  if (args(0) != "") {
    var database = new ActiveXObject("WindowsInstaller.Installer").OpenDatabase(args(0), 0);
    packageVersion = first(database, "SELECT `Value` FROM `Property` WHERE `Property` = 'ProductVersion'");
    tableVersion = first(database, "SELECT `Version` FROM `File` WHERE `File` = 'BexoraCpl'");
  }
} catch (e) {}
try {
  if (args(1) != "") moduleVersion = new ActiveXObject("Scripting.FileSystemObject").GetFileVersion(args(1));
} catch (e) {}
WScript.Echo(packageVersion);
WScript.Echo(tableVersion);
WScript.Echo(moduleVersion);
