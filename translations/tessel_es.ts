<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES" sourcelanguage="en">
<context>
    <name>AddFiles</name>
    <message>
        <source>The folder %1 holds no snapshot files.</source>
        <translation>La carpeta %1 no contiene archivos de instantánea.</translation>
    </message>
    <message>
        <source>The compilation is complete. It&apos;s not posible to add more SNA&apos;s.</source>
        <translation>La recopilación está completa. No se pueden añadir más SNA.</translation>
    </message>
    <message>
        <source>Select a folder whose snapshots to add...</source>
        <translation>Elija una carpeta cuyas instantáneas añadir...</translation>
    </message>
</context>
<context>
    <name>AddSnapshot</name>
    <message>
        <source>Type the name for the menu (Max. 20 chars) %1</source>
        <translation>Escriba el nombre para el menú (máx. 20 caracteres) %1</translation>
    </message>
    <message>
        <source>The selected file is not a valid SNA snapshot.</source>
        <translation>El archivo seleccionado no es una instantánea SNA válida.</translation>
    </message>
    <message>
        <source>Add it all the same?</source>
        <translation>¿Añadirla de todos modos?</translation>
    </message>
    <message>
        <source>The compilation is complete. It&apos;s not posible to add more SNA&apos;s.</source>
        <translation>La recopilación está completa. No se pueden añadir más SNA.</translation>
    </message>
    <message>
        <source>This dropped file was not added:</source>
        <translation>Este archivo soltado no se ha añadido:</translation>
    </message>
    <message>
        <source>These dropped files were not added:</source>
        <translation>Estos archivos soltados no se han añadido:</translation>
    </message>
    <message>
        <source>1 of the dropped files was not added.</source>
        <translation>1 de los archivos soltados no se ha añadido.</translation>
    </message>
    <message>
        <source>%1 of the dropped files were not added.</source>
        <translation>%1 de los archivos soltados no se han añadido.</translation>
    </message>
    <message>
        <source>This file of the folder %1 was not added:</source>
        <translation>Este archivo de la carpeta %1 no se ha añadido:</translation>
    </message>
    <message>
        <source>These files of the folder %1 were not added:</source>
        <translation>Estos archivos de la carpeta %1 no se han añadido:</translation>
    </message>
    <message>
        <source>1 snapshot of the folder %1 was not added.</source>
        <translation>1 instantánea de la carpeta %1 no se ha añadido.</translation>
    </message>
    <message>
        <source>%1 snapshots of the folder %2 were not added.</source>
        <translation>%1 instantáneas de la carpeta %2 no se han añadido.</translation>
    </message>
    <message>
        <source>Entry %1 (&quot;%2&quot;): %3</source>
        <translation>Entrada %1 (&quot;%2&quot;): %3</translation>
    </message>
</context>
<context>
    <name>BrowserMessages</name>
    <message>
        <source>There is not a disk in the selected unit. Insert a disk or change the unit.</source>
        <translation>No hay ningún disco en la unidad seleccionada. Inserte un disco o cambie de unidad.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be opened: it no longer exists.</source>
        <translation>No se puede abrir la carpeta %1: ya no existe.</translation>
    </message>
    <message>
        <source>The files of the folder %1 cannot be listed: it cannot be read.</source>
        <translation>No se pueden listar los archivos de la carpeta %1: no se puede leer.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Kit folder (default: the folder of this program when it holds tessel.ini, else the data folder of an installed copy, ~/.local/share/tessel-zizerev).</source>
        <translation>Carpeta del kit (por omisión: la carpeta de este programa cuando contiene tessel.ini; si no, la carpeta de datos de una copia instalada, ~/.local/share/tessel-zizerev).</translation>
    </message>
    <message>
        <source>The image file to write.</source>
        <translation>El archivo de imagen que se escribe.</translation>
    </message>
    <message>
        <source>Read the entries from FILE, one NAME&lt;tab&gt;PATH a line.</source>
        <translation>Lee las entradas de ARCHIVO, una NOMBRE&lt;tab&gt;RUTA por línea.</translation>
    </message>
    <message>
        <source>Take the image FILE apart into the folder given after it.</source>
        <translation>Descompone la imagen ARCHIVO en la carpeta indicada a continuación.</translation>
    </message>
    <message>
        <source>With --extract, replace files of the same names in the folder.</source>
        <translation>Con --extract, sustituye los archivos con los mismos nombres en la carpeta.</translation>
    </message>
    <message>
        <source>Ten NAME=PATH entries, unless --list is given.</source>
        <translation>Diez entradas NOMBRE=RUTA, salvo que se indique --list.</translation>
    </message>
    <message>
        <source>DIR</source>
        <translation>CARPETA</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>ARCHIVO</translation>
    </message>
    <message>
        <source>[NAME=PATH...]</source>
        <translation>[NOMBRE=RUTA...]</translation>
    </message>
    <message>
        <source>entries</source>
        <translation>entradas</translation>
    </message>
    <message>
        <source>List the menu names of the image FILE, writing nothing.</source>
        <translation>Muestra los nombres de menú de la imagen ARCHIVO, sin escribir nada.</translation>
    </message>
    <message>
        <source>Convert the snapshot IN, of any format the program reads, or the tape IN, loaded as a 48K Spectrum loads it, to the 48K .sna OUT, with the same checks; nothing else is done. Takes IN and OUT as the two arguments.</source>
        <translation>Convierte la instantánea ORIGEN, de cualquier formato que lea el programa, o la cinta ORIGEN, cargada como la carga un Spectrum de 48K, en el .sna de 48K DESTINO, con las mismas comprobaciones; no hace nada más. Recibe ORIGEN y DESTINO como los dos argumentos.</translation>
    </message>
    <message>
        <source>Write the pokes into the memory of the entry of menu name NAME (addresses 16384 to 65535, values 0 to 255, in decimal). May be given more than once.</source>
        <translation>Escribe los pokes en la memoria de la entrada cuyo nombre de menú es NOMBRE (direcciones de 16384 a 65535, valores de 0 a 255, en decimal). Puede indicarse más de una vez.</translation>
    </message>
    <message>
        <source>NAME=ADDR,VALUE[:ADDR,VALUE...]</source>
        <translation>NOMBRE=DIR,VALOR[:DIR,VALOR...]</translation>
    </message>
    <message>
        <source>Builds the 524,288-byte flash image of a Tessel cartridge from ten 48K
snapshots or tapes, without the window: the same checks and the same bytes
as its Create Flash command.

The kit folder holds bank1.rom, bank32.rom and tessel.ini, whose section
[tessel] gives the table offsets DireccionNombres and DireccionRegistros.
Each entry is a menu name of 1 to 20 characters and a 48K snapshot, in menu
order: a .sna of 49,179 bytes, or a .z80, .szx, .sp, .snp, .zxs, .slt or
other snapshot libspectrum reads, or a tape (.tap, .tzx, .pzx, .csw, .wav).
Give them as ten NAME=PATH arguments (the name ends at the first &quot;=&quot;), or
with --list as a UTF-8 file of ten lines NAME&lt;tab&gt;PATH (blank lines ignored;
relative paths are taken from the list file&apos;s folder).

A tape is loaded as a 48K Spectrum loads it (LOAD &quot;&quot; and its own loaders,
with real timing) and the snapshot it loads to is used; each tape is loaded
once and kept in ~/.cache/tessel-zizerev/tapes. The ROM is the kit&apos;s 48.rom or
the file its setting Rom48 names, else OpenSE BASIC (package opense-basic),
with a warning: a snapshot loaded with it may not run on a real Spectrum.

On success the output file is replaced as a whole and its full path is
printed. On any problem a message goes to stderr, the exit status is 1 and
no file is written or changed.

tessel-flash --extract IMAGE DIR takes an image apart with the kit&apos;s table
offsets: one .sna per entry, named after its menu name, and a compilation
file named after the image that lists them (the --list format, paths
relative to DIR), whose full path is printed. DIR is made when missing.
When DIR already holds files of those names nothing is written, unless
--force is given; then they are replaced.

tessel-flash --show IMAGE reads an image with the kit&apos;s table offsets and
prints its ten entries, one NUMBER&lt;tab&gt;NAME line each in menu order, and
on stderr any warning about bytes the tables cover. It writes nothing. An
image that is not of this kit (another size, other table offsets) is
refused with the reason.

Trainers: in a --list file, lines POKE TRAINER=ADDR,VALUE[:ADDR,VALUE...]
under an entry&apos;s line are written into that entry&apos;s memory in the image, as
--poke NAME=ADDR,VALUE[:ADDR,VALUE...] does for the entry named NAME. The
snapshot files are never changed; --extract gives back the snapshots as the
image holds them, pokes included.</source>
        <translation>Construye la imagen flash de 524.288 bytes de un cartucho Tessel a partir de
diez instantáneas o cintas de 48K, sin la ventana: las mismas comprobaciones
y los mismos bytes que su orden Crear Flash.

La carpeta del kit contiene bank1.rom, bank32.rom y tessel.ini, cuya sección
[tessel] da los desplazamientos de las tablas, DireccionNombres y
DireccionRegistros. Cada entrada es un nombre de menú de 1 a 20 caracteres y
una instantánea de 48K, en el orden del menú: un .sna de 49.179 bytes, o un
.z80, .szx, .sp, .snp, .zxs, .slt u otra instantánea que lea libspectrum, o
una cinta (.tap, .tzx, .pzx, .csw, .wav). Indíquelas como diez argumentos
NOMBRE=RUTA (el nombre termina en el primer &quot;=&quot;), o con --list como un
archivo UTF-8 de diez líneas NOMBRE&lt;tab&gt;RUTA (se omiten las líneas en
blanco; las rutas relativas parten de la carpeta del archivo de lista).

Una cinta se carga como la carga un Spectrum de 48K (LOAD &quot;&quot; y sus propios
cargadores, con la temporización real) y se usa la instantánea en la que
queda; cada cinta se carga una sola vez y se guarda en
~/.cache/tessel-zizerev/tapes. La ROM es el 48.rom del kit o el archivo que
nombra su ajuste Rom48; si no, OpenSE BASIC (paquete opense-basic), con un
aviso: una instantánea cargada con ella puede no funcionar en un Spectrum
real.

Si todo va bien, el archivo de salida se sustituye entero y se muestra su
ruta completa. Ante cualquier problema se escribe un mensaje en stderr, el
código de salida es 1 y no se escribe ni se cambia ningún archivo.

tessel-flash --extract IMAGEN CARPETA descompone una imagen con los
desplazamientos de las tablas del kit: un .sna por entrada, llamado como su
nombre de menú, y un archivo de recopilación llamado como la imagen que los
enumera (el formato de --list, con rutas relativas a CARPETA), cuya ruta
completa se muestra. CARPETA se crea si no existe. Si CARPETA ya contiene
archivos con esos nombres no se escribe nada, salvo que se indique --force;
entonces se sustituyen.

tessel-flash --show IMAGEN lee una imagen con los desplazamientos de tablas del kit
y escribe sus diez entradas, una línea NÚMERO&lt;tab&gt;NOMBRE cada una en el orden del
menú, y en stderr cualquier aviso sobre bytes que cubren las tablas. No escribe
nada. Una imagen que no es de este kit (otro tamaño, otros desplazamientos de
tablas) se rechaza con el motivo.

Trucos: en un archivo de --list, las líneas POKE TRUCO=DIR,VALOR[:DIR,VALOR...]
bajo la línea de una entrada se escriben en la memoria de esa entrada en la
imagen, como hace --poke NOMBRE=DIR,VALOR[:DIR,VALOR...] con la entrada llamada
NOMBRE. Los archivos de instantánea nunca cambian; --extract devuelve las
instantáneas tal como las contiene la imagen, con los pokes.</translation>
    </message>
</context>
<context>
    <name>Compilation</name>
    <message>
        <source>... and %1 more.</source>
        <translation>... y %1 más.</translation>
    </message>
    <message numerus="yes">
        <source>The compilation %1 was not opened: %n of its lines cannot be taken as they are.</source>
        <translation>
            <numerusform>No se ha abierto la recopilación %1: %n de sus líneas no se puede aceptar tal como está.</numerusform>
            <numerusform>No se ha abierto la recopilación %1: %n de sus líneas no se pueden aceptar tal como están.</numerusform>
        </translation>
    </message>
    <message>
        <source>Line %1: the menu name &quot;%2&quot; has %3 characters; it must have 1 to %4.</source>
        <translation>Línea %1: el nombre de menú &quot;%2&quot; tiene %3 caracteres; debe tener de 1 a %4.</translation>
    </message>
    <message>
        <source>Line %1: the menu name holds a control character; it may hold only printable ones.</source>
        <translation>Línea %1: el nombre de menú contiene un carácter de control; solo puede contener caracteres imprimibles.</translation>
    </message>
    <message>
        <source>Line %1: entry %2 and any after it do not fit; a compilation holds %3 at most.</source>
        <translation>Línea %1: la entrada %2 y las siguientes no caben; una recopilación admite %3 como máximo.</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <extracomment>%2 is a sentence of its own, naming the file on that line.</extracomment>
        <translation>Línea %1: %2</translation>
    </message>
</context>
<context>
    <name>CompilationCommands</name>
    <message>
        <source>Select a name for the compilation...</source>
        <translation>Elija un nombre para la recopilación...</translation>
    </message>
    <message>
        <source>Compilations (*.%1)</source>
        <translation>Recopilaciones (*.%1)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Todos los archivos (*)</translation>
    </message>
    <message>
        <source>Select a compilation to open...</source>
        <translation>Elija la recopilación que quiere abrir...</translation>
    </message>
    <message>
        <source>Are you sure? The actual list of SNAs will be replaced by the compilation %1.</source>
        <translation>¿Está seguro? La lista actual de SNA se sustituirá por la recopilación %1.</translation>
    </message>
    <message>
        <source>The list is empty: there is no compilation to save.</source>
        <translation>La lista está vacía: no hay ninguna recopilación que guardar.</translation>
    </message>
    <message>
        <source>The file %1 is one of the listed snapshots.</source>
        <translation>El archivo %1 es una de las instantáneas de la lista.</translation>
    </message>
    <message>
        <source>Choose another name.</source>
        <translation>Elija otro nombre.</translation>
    </message>
    <message>
        <source>The compilation was not saved.</source>
        <translation>No se ha guardado la recopilación.</translation>
    </message>
    <message>
        <source>The compilation %1 has been saved.</source>
        <translation>Se ha guardado la recopilación %1.</translation>
    </message>
    <message>
        <source>Select a flash image to open...</source>
        <translation>Elija la imagen flash que quiere abrir...</translation>
    </message>
    <message>
        <source>Flash images (*.rom *.bin)</source>
        <translation>Imágenes flash (*.rom *.bin)</translation>
    </message>
    <message>
        <source>Are you sure? The actual list of SNAs will be replaced by the snapshots of the image %1.</source>
        <translation>¿Está seguro? La lista actual de SNA se sustituirá por las instantáneas de la imagen %1.</translation>
    </message>
    <message>
        <source>Select a folder for the snapshots of the image...</source>
        <translation>Elija una carpeta para las instantáneas de la imagen...</translation>
    </message>
    <message>
        <source>The folder %1 already holds:<byte value="xd"/>%2<byte value="xd"/>Do you want to replace them?</source>
        <translation>La carpeta %1 ya contiene:<byte value="xd"/>%2<byte value="xd"/>¿Quiere sustituirlos?</translation>
    </message>
    <message>
        <source>The image was not taken apart.</source>
        <translation>No se ha descompuesto la imagen.</translation>
    </message>
    <message>
        <source>The snapshots of %1 and their compilation %2 have been written.</source>
        <translation>Se han escrito las instantáneas de %1 y su recopilación %2.</translation>
    </message>
    <message>
        <source>Some snapshots of the compilation %1 were saved with hardware the cartridge does not give, and may not work without it:<byte value="xd"/>%2<byte value="xd"/>Open the compilation all the same?</source>
        <translation>Algunas instantáneas de la recopilación %1 se guardaron con hardware que el cartucho no aporta, y puede que no funcionen sin él:<byte value="xd"/>%2<byte value="xd"/>¿Abrir la recopilación de todos modos?</translation>
    </message>
    <message>
        <source>Some snapshots of the image %1 were saved with hardware the cartridge does not give, and may not work without it:<byte value="xd"/>%2<byte value="xd"/>List them all the same?</source>
        <translation>Algunas instantáneas de la imagen %1 se guardaron con hardware que el cartucho no aporta, y puede que no funcionen sin él:<byte value="xd"/>%2<byte value="xd"/>¿Incluirlas en la lista de todos modos?</translation>
    </message>
    <message>
        <source>The list has not been saved as a compilation.<byte value="xd"/>Do you want to save it?</source>
        <translation>La lista no se ha guardado como recopilación.<byte value="xd"/>¿Desea guardarla?</translation>
    </message>
    <message>
        <source>The compilation &quot;%1&quot; has changes that are not saved.<byte value="xd"/>Do you want to save them?</source>
        <translation>La recopilación &quot;%1&quot; tiene cambios sin guardar.<byte value="xd"/>¿Desea guardarlos?</translation>
    </message>
    <message>
        <source>Each snapshot holds its memory as the image holds it, with the pokes of any trainers the image was built with.</source>
        <translation>Cada instantánea contiene su memoria tal como la contiene la imagen, con los pokes de los trucos con que se construyó.</translation>
    </message>
</context>
<context>
    <name>CreateFlash</name>
    <message>
        <source>Select a name for the Tessel file...</source>
        <translation>Elija un nombre para el archivo Tessel...</translation>
    </message>
    <message>
        <source>Creation of Flash file cancelled. Are you sure? </source>
        <translation>Se ha cancelado la creación del archivo flash. ¿Está seguro?</translation>
    </message>
    <message>
        <source>Choose another name.</source>
        <translation>Elija otro nombre.</translation>
    </message>
    <message>
        <source>The flash image was not created.</source>
        <translation>No se ha creado la imagen flash.</translation>
    </message>
    <message>
        <source>The flash image was not saved.<byte value="xd"/>%1<byte value="xd"/>The image is still in %2.</source>
        <translation>No se ha guardado la imagen flash.<byte value="xd"/>%1<byte value="xd"/>La imagen sigue en %2.</translation>
    </message>
    <message>
        <source>The file %1 has been saved sucessfully.</source>
        <translation>El archivo %1 se ha guardado correctamente.</translation>
    </message>
    <message>
        <source>The Compilation is not complete. Add more Snapshots to the list.</source>
        <translation>La recopilación no está completa. Añada más instantáneas a la lista.</translation>
    </message>
    <message>
        <source>The flash image was not created.<byte value="xd"/>%1<byte value="xd"/>Do you want to set up the firmware now?</source>
        <translation>No se ha creado la imagen flash.<byte value="xd"/>%1<byte value="xd"/>¿Quiere configurar el firmware ahora?</translation>
    </message>
</context>
<context>
    <name>DurableFile</name>
    <message>
        <source>The folder %1 could not be written to the disk (%2); the file saved in it may be lost if the power fails now.</source>
        <translation>No se ha podido escribir la carpeta %1 en el disco (%2); el archivo guardado en ella puede perderse si ahora falla la corriente.</translation>
    </message>
    <message>
        <source>No name was given for the file to write.</source>
        <translation>No se ha indicado el nombre del archivo que se escribe.</translation>
    </message>
    <message>
        <source>The name %1 is not valid UTF-8 text, so no file can be written under it; choose a name that is.</source>
        <translation>El nombre %1 no es texto UTF-8 válido, así que no se puede escribir ningún archivo con él; elija un nombre que lo sea.</translation>
    </message>
    <message>
        <source>The file %1 cannot be written: its folder %2 does not exist.</source>
        <translation>No se puede escribir el archivo %1: su carpeta %2 no existe.</translation>
    </message>
    <message>
        <source>The file %1 cannot be written: it is this program itself.</source>
        <translation>No se puede escribir el archivo %1: es este mismo programa.</translation>
    </message>
    <message>
        <source>The file %1 cannot be written: it is %2, one of the files it is made from.</source>
        <translation>No se puede escribir el archivo %1: es %2, uno de los archivos a partir de los que se hace.</translation>
    </message>
    <message>
        <source>The file %1 cannot be written: it is a link to %2, and a link is never written through or replaced. Name the file itself, or remove the link.</source>
        <translation>No se puede escribir el archivo %1: es un enlace a %2, y nunca se escribe a través de un enlace ni se sustituye. Indique el archivo mismo o quite el enlace.</translation>
    </message>
    <message>
        <source>The file %1 could not be written: %2.</source>
        <translation>No se ha podido escribir el archivo %1: %2.</translation>
    </message>
    <message>
        <source>The file %1 cannot be written: it is a folder, and only a regular file may be replaced.</source>
        <translation>No se puede escribir el archivo %1: es una carpeta, y solo se puede sustituir un archivo normal.</translation>
    </message>
    <message>
        <source>The file %1 cannot be written: it is a named pipe (FIFO), and only a regular file may be replaced.</source>
        <translation>No se puede escribir el archivo %1: es una tubería con nombre (FIFO), y solo se puede sustituir un archivo normal.</translation>
    </message>
    <message>
        <source>The file %1 cannot be written: it is a socket, and only a regular file may be replaced.</source>
        <translation>No se puede escribir el archivo %1: es un socket, y solo se puede sustituir un archivo normal.</translation>
    </message>
    <message>
        <source>The file %1 cannot be written: it is a device, and only a regular file may be replaced.</source>
        <translation>No se puede escribir el archivo %1: es un dispositivo, y solo se puede sustituir un archivo normal.</translation>
    </message>
    <message>
        <source>The file %1 cannot be written: it is not a regular file, and only such a file may be replaced.</source>
        <translation>No se puede escribir el archivo %1: no es un archivo normal, y solo se puede sustituir un archivo normal.</translation>
    </message>
    <message>
        <source>The file %1 could not be written: it was not opened.</source>
        <translation>No se ha podido escribir el archivo %1: no se había abierto.</translation>
    </message>
    <message>
        <source>Only part of the file %1 could be written; the disk may be full.</source>
        <translation>Solo se ha podido escribir una parte del archivo %1; puede que el disco esté lleno.</translation>
    </message>
    <message>
        <source>%1 The old file %2 could not be put back; it is kept as %3.</source>
        <extracomment>%1 is a sentence that ends in its own full stop.</extracomment>
        <translation>%1 No se ha podido devolver a su sitio el archivo anterior %2; se conserva como %3.</translation>
    </message>
    <message>
        <source>%1 None of the files was changed.</source>
        <extracomment>%1 is a sentence that ends in its own full stop.</extracomment>
        <translation>%1 No se ha modificado ninguno de los archivos.</translation>
    </message>
</context>
<context>
    <name>EditEntry</name>
    <message>
        <source>A menu name cannot be empty.<byte value="xd"/>The entry keeps its name &quot;%1&quot;.</source>
        <translation>Un nombre de menú no puede estar vacío.<byte value="xd"/>La entrada conserva su nombre &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>The name &quot;%1&quot; has %2 characters; a menu name has 1 to %3.<byte value="xd"/>The entry keeps its name &quot;%4&quot;.</source>
        <translation>El nombre &quot;%1&quot; tiene %2 caracteres; un nombre de menú tiene de 1 a %3.<byte value="xd"/>La entrada conserva su nombre &quot;%4&quot;.</translation>
    </message>
    <message>
        <source>The name &quot;%1&quot; holds a control character (shown as ?), such as a tab or a line break; a menu name may hold only printable characters.<byte value="xd"/>The entry keeps its name &quot;%2&quot;.</source>
        <translation>El nombre &quot;%1&quot; contiene un carácter de control (mostrado como ?), como un tabulador o un salto de línea; un nombre de menú solo puede contener caracteres imprimibles.<byte value="xd"/>La entrada conserva su nombre &quot;%2&quot;.</translation>
    </message>
</context>
<context>
    <name>EmulatorTest</name>
    <message>
        <source>Choose a &apos;Snapshot&apos; from the SNA selected list.</source>
        <translation>Elija una instantánea de la lista de SNA seleccionados.</translation>
    </message>
    <message>
        <source>You are going to run the emulator Aspectrum to test the Snapshot:<byte value="xd"/>%1<byte value="xd"/> To exit from the emulator press F10.<byte value="xd"/>Continue?</source>
        <translation>Va a ejecutar el emulador Aspectrum para probar la instantánea:<byte value="xd"/>%1<byte value="xd"/>Para salir del emulador, pulse F10.<byte value="xd"/>¿Continuar?</translation>
    </message>
    <message>
        <source>The emulator could not be started.<byte value="xd"/>Program: %1<byte value="xd"/>Reason: %2</source>
        <translation>No se ha podido iniciar el emulador.<byte value="xd"/>Programa: %1<byte value="xd"/>Motivo: %2</translation>
    </message>
    <message>
        <source>The snapshot cannot be tested.<byte value="xd"/>%1</source>
        <translation>No se puede probar la instantánea.<byte value="xd"/>%1</translation>
    </message>
    <message>
        <source>The snapshot to test could not be written to %1.<byte value="xd"/>%2</source>
        <translation>No se pudo escribir la instantánea de prueba en %1.<byte value="xd"/>%2</translation>
    </message>
</context>
<context>
    <name>EntryList</name>
    <message>
        <source>The list file %1 cannot be read (%2).</source>
        <translation>No se puede leer el archivo de lista %1 (%2).</translation>
    </message>
    <message>
        <source>The list file %1 is larger than %2 bytes; it is not an entry list.</source>
        <translation>El archivo de lista %1 ocupa más de %2 bytes; no es una lista de entradas.</translation>
    </message>
    <message>
        <source>Entry %1 (&quot;%2&quot;): the menu name holds a tab, a line break or a NUL, which a list file cannot hold; rename the entry.</source>
        <translation>Entrada %1 (&quot;%2&quot;): el nombre de menú contiene un tabulador, un salto de línea o un NUL, que un archivo de lista no admite; cambie el nombre de la entrada.</translation>
    </message>
    <message>
        <source>Entry %1 (&quot;%2&quot;): the snapshot&apos;s path %3 is empty or holds a line break or a NUL, which a list file cannot hold.</source>
        <translation>Entrada %1 (&quot;%2&quot;): la ruta de la instantánea, %3, está vacía o contiene un salto de línea o un NUL, que un archivo de lista no admite.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an entry; write NAME=PATH.</source>
        <translation>&quot;%1&quot; no es una entrada; escriba NOMBRE=RUTA.</translation>
    </message>
    <message>
        <source>The list file %1 is not UTF-8 text: it looks like UTF-16. Save it again as UTF-8.</source>
        <translation>El archivo de lista %1 no es texto UTF-8: parece UTF-16. Guárdelo de nuevo como UTF-8.</translation>
    </message>
    <message>
        <source>Entry %1 (&quot;%2&quot;): the trainer &quot;%3&quot; holds a tab, a line break or a NUL in its name, which a list file cannot hold.</source>
        <translation>Entrada %1 («%2»): el truco «%3» tiene en su nombre un tabulador, un salto de línea o un NUL, que un archivo de lista no puede contener.</translation>
    </message>
    <message>
        <source>Entry %1 (&quot;%2&quot;), trainer &quot;%3&quot;: %4</source>
        <extracomment>%4 is a sentence of its own, ending in a full stop.</extracomment>
        <translation>Entrada %1 («%2»), truco «%3»: %4</translation>
    </message>
    <message>
        <source>Line %1: it is not valid UTF-8 text.</source>
        <translation>Línea %1: no es texto UTF-8 válido.</translation>
    </message>
    <message>
        <source>Line %1: a trainer&apos;s line is POKE NAME=ADDRESS,VALUE[:ADDRESS,VALUE...].</source>
        <translation>Línea %1: la línea de un truco es POKE NOMBRE=DIRECCIÓN,VALOR[:DIRECCIÓN,VALOR...].</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <extracomment>%2 is a sentence of its own, ending in a full stop.</extracomment>
        <translation>Línea %1: %2</translation>
    </message>
    <message>
        <source>Line %1: it holds a NUL byte.</source>
        <translation>Línea %1: contiene un byte NUL.</translation>
    </message>
    <message>
        <source>Line %1: there is no tab between the name and the path.</source>
        <translation>Línea %1: no hay un tabulador entre el nombre y la ruta.</translation>
    </message>
    <message>
        <source>Line %1: the path after the tab is empty.</source>
        <translation>Línea %1: la ruta tras el tabulador está vacía.</translation>
    </message>
    <message>
        <source>Line %1: a trainer&apos;s line belongs under the line of its entry.</source>
        <translation>Línea %1: la línea de un truco va bajo la línea de su entrada.</translation>
    </message>
    <message>
        <source>The list file %1 cannot be used as it is. %2</source>
        <extracomment>%2 is a sentence of its own that names the line.</extracomment>
        <translation>El archivo de lista %1 no se puede usar tal como está. %2</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>%1 is a folder, not a file.</source>
        <translation>%1 es una carpeta, no un archivo.</translation>
    </message>
    <message>
        <source>%1 is a named pipe (FIFO), not a file.</source>
        <translation>%1 es una tubería con nombre (FIFO), no un archivo.</translation>
    </message>
    <message>
        <source>%1 is a socket, not a file.</source>
        <translation>%1 es un socket, no un archivo.</translation>
    </message>
    <message>
        <source>%1 is a device, not a file.</source>
        <translation>%1 es un dispositivo, no un archivo.</translation>
    </message>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 no es un archivo normal.</translation>
    </message>
</context>
<context>
    <name>Firmware</name>
    <message>
        <source>The file %1 cannot be read (%2); no file was copied.</source>
        <translation>No se puede leer el archivo %1 (%2); no se ha copiado ningún archivo.</translation>
    </message>
    <message>
        <source>The file %1 is empty, so it is no bank; no file was copied.</source>
        <translation>El archivo %1 está vacío, así que no es un banco; no se ha copiado ningún archivo.</translation>
    </message>
    <message>
        <source>The file %1 is %2 bytes long, larger than a whole flash image, so it is no bank; no file was copied.</source>
        <translation>El archivo %1 mide %2 bytes, más que una imagen flash entera, así que no es un banco; no se ha copiado ningún archivo.</translation>
    </message>
    <message>
        <source>The offset of the name table is empty; type a whole number from 0 to %1.</source>
        <translation>El desplazamiento de la tabla de nombres está vacío; escriba un número entero de 0 a %1.</translation>
    </message>
    <message>
        <source>The offset of the name table is &quot;%1&quot;; it must be a whole number from 0 to %2.</source>
        <translation>El desplazamiento de la tabla de nombres es &quot;%1&quot;; debe ser un número entero de 0 a %2.</translation>
    </message>
    <message>
        <source>The offset of the register table is empty; type a whole number from 0 to %1.</source>
        <translation>El desplazamiento de la tabla de registros está vacío; escriba un número entero de 0 a %1.</translation>
    </message>
    <message>
        <source>The offset of the register table is &quot;%1&quot;; it must be a whole number from 0 to %2.</source>
        <translation>El desplazamiento de la tabla de registros es &quot;%1&quot;; debe ser un número entero de 0 a %2.</translation>
    </message>
    <message>
        <source>The same file, %1, was chosen for both banks; bank 1 and bank 32 are different files. No file was copied.</source>
        <translation>Se ha elegido el mismo archivo, %1, para los dos bancos; el banco 1 y el banco 32 son archivos distintos. No se ha copiado ningún archivo.</translation>
    </message>
    <message>
        <source>The bank files were not changed.<byte value="xd"/>%1</source>
        <translation>Los archivos de banco no se han cambiado.<byte value="xd"/>%1</translation>
    </message>
    <message>
        <source>The table offsets could not be written to the settings file %1.</source>
        <translation>No se han podido escribir los desplazamientos de las tablas en el archivo de configuración %1.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read (%2).</source>
        <translation>No se puede leer el archivo %1 (%2).</translation>
    </message>
    <message>
        <source>No file was copied.</source>
        <translation>No se ha copiado ningún archivo.</translation>
    </message>
    <message>
        <source>Select the file to copy in as %1...</source>
        <translation>Seleccione el archivo que se copia como %1...</translation>
    </message>
    <message>
        <source>Bank files (*.rom *.bin)</source>
        <translation>Archivos de banco (*.rom *.bin)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Todos los archivos (*)</translation>
    </message>
    <message>
        <source>Saved: Create Flash has all it needs.</source>
        <translation>Guardado: Crear Flash tiene todo lo que necesita.</translation>
    </message>
    <message>
        <source>Saved, but Create Flash still lacks something.</source>
        <translation>Guardado, pero a Crear Flash aún le falta algo.</translation>
    </message>
</context>
<context>
    <name>FlashBuild</name>
    <message>
        <source>The bank file %1 is missing: copy it from the cartridge firmware into the folder %2.</source>
        <translation>Falta el archivo de banco %1: cópielo del firmware del cartucho en la carpeta %2.</translation>
    </message>
    <message>
        <source>The bank file %1 cannot be read (%2).</source>
        <translation>No se puede leer el archivo de banco %1 (%2).</translation>
    </message>
    <message>
        <source>The bank file %1 is %2 bytes long, not %3: only its first %3 bytes were used.</source>
        <translation>El archivo de banco %1 ocupa %2 bytes, no %3: solo se han usado sus primeros %3 bytes.</translation>
    </message>
    <message>
        <source>The bank file %1 is %2 bytes long, not %3: the rest of its bank was filled with blanks.</source>
        <translation>El archivo de banco %1 ocupa %2 bytes, no %3: el resto de su banco se ha dejado en blanco.</translation>
    </message>
    <message>
        <source>Entry %1: the menu name &quot;%2&quot; has %3 characters; it must have 1 to %4.</source>
        <translation>Entrada %1: el nombre de menú &quot;%2&quot; tiene %3 caracteres; debe tener de 1 a %4.</translation>
    </message>
    <message>
        <source>Entry %1: the menu name &quot;%2&quot; holds the control character U+%3; a menu name may hold only printable characters.</source>
        <translation>Entrada %1: el nombre de menú &quot;%2&quot; contiene el carácter de control U+%3; un nombre de menú solo puede contener caracteres imprimibles.</translation>
    </message>
    <message>
        <source>Entry %1 (&quot;%2&quot;): %3</source>
        <translation>Entrada %1 (&quot;%2&quot;): %3</translation>
    </message>
    <message>
        <source>The working folder %1 (setting &quot;%2&quot;) does not exist.</source>
        <translation>La carpeta de trabajo %1 (ajuste &quot;%2&quot;) no existe.</translation>
    </message>
    <message>
        <source>The working folder %1 (setting &quot;%2&quot;) is a file, not a folder.</source>
        <translation>La carpeta de trabajo %1 (ajuste &quot;%2&quot;) es un archivo, no una carpeta.</translation>
    </message>
    <message>
        <source>The working folder %1 (setting &quot;%2&quot;) cannot be written to.</source>
        <translation>No se puede escribir en la carpeta de trabajo %1 (ajuste &quot;%2&quot;).</translation>
    </message>
    <message>
        <source>The working image %1 cannot be read (%2).</source>
        <translation>No se puede leer la imagen de trabajo %1 (%2).</translation>
    </message>
    <message>
        <source>The working image %1 is %2 bytes long, not %3; something changed it.</source>
        <translation>La imagen de trabajo %1 ocupa %2 bytes, no %3; algo la ha cambiado.</translation>
    </message>
    <message>
        <source>The cartridge takes exactly %1 entries, not %2.</source>
        <translation>El cartucho admite exactamente %1 entradas, no %2.</translation>
    </message>
    <message>
        <source>The bank file %1 is empty.</source>
        <translation>El archivo de banco %1 está vacío.</translation>
    </message>
</context>
<context>
    <name>FlashExtract</name>
    <message>
        <source>Entry %1: its menu name lies under the register table in the image and is lost; it was named &quot;%2&quot;.</source>
        <translation>Entrada %1: su nombre de menú queda bajo la tabla de registros de la imagen y se ha perdido; se ha llamado &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>Entry %1: its menu name is blank in the image; it was named &quot;%2&quot;.</source>
        <translation>Entrada %1: su nombre de menú está en blanco en la imagen; se ha llamado &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>Entry %1 (&quot;%2&quot;): %3 characters of its menu name lie under the register table in the image and are lost; they show as &quot;?&quot;.</source>
        <translation>Entrada %1 (&quot;%2&quot;): %3 caracteres de su nombre de menú quedan bajo la tabla de registros de la imagen y se han perdido; se muestran como &quot;?&quot;.</translation>
    </message>
    <message>
        <source>Entry %1 (&quot;%2&quot;): %3 bytes of its memory, from address %4 on, lie under the tables in the image and are lost; the snapshot holds what the image holds there.</source>
        <translation>Entrada %1 (&quot;%2&quot;): %3 bytes de su memoria, desde la dirección %4, quedan bajo las tablas de la imagen y se han perdido; la instantánea contiene lo que la imagen contiene ahí.</translation>
    </message>
    <message>
        <source>The flash image %1 cannot be opened: %2.</source>
        <translation>No se puede abrir la imagen flash %1: %2.</translation>
    </message>
    <message>
        <source>The flash image %1 cannot be opened: it is %2 bytes long; a flash image has %3 bytes.</source>
        <translation>No se puede abrir la imagen flash %1: ocupa %2 bytes; una imagen flash tiene %3 bytes.</translation>
    </message>
    <message>
        <source>The flash image %1 cannot be opened: it changed while it was read.</source>
        <translation>No se puede abrir la imagen flash %1: ha cambiado mientras se leía.</translation>
    </message>
    <message>
        <source>The folder %1 already holds %2; nothing was written.</source>
        <translation>La carpeta %1 ya contiene %2; no se ha escrito nada.</translation>
    </message>
    <message>
        <source>Entry %1: its snapshot has the interrupt mode %2, which no Spectrum has; it was kept as it is, and it may not run.</source>
        <translation>Entrada %1: su instantánea tiene el modo de interrupción %2, que ningún Spectrum tiene; se ha conservado tal cual y puede que no funcione.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be made: a file of that name stands there.</source>
        <translation>No se puede crear la carpeta %1: hay un archivo con ese nombre.</translation>
    </message>
    <message>
        <source>The folder name %1 is not valid UTF-8 text, so no folder can be made under it; choose a name that is.</source>
        <translation>El nombre de carpeta %1 no es texto UTF-8 válido, así que no se puede crear ninguna carpeta con él; elija un nombre que lo sea.</translation>
    </message>
    <message>
        <source>Another extraction is writing into the folder %1; nothing was written. Try again once it is done.</source>
        <translation>Otra extracción está escribiendo en la carpeta %1; no se ha escrito nada. Vuelva a intentarlo cuando termine.</translation>
    </message>
    <message>
        <source>The kit&apos;s bank 1 file %1 cannot be read, so the place of the name table (setting &quot;%2&quot;) was not checked: names shifted onto other games mean the image was made with other table offsets.</source>
        <translation>No se puede leer el archivo del banco 1 del kit %1, así que no se ha comprobado la posición de la tabla de nombres (ajuste &quot;%2&quot;): si los nombres aparecen desplazados a otros juegos, la imagen se hizo con otras posiciones de las tablas.</translation>
    </message>
    <message>
        <source>The folder %1 could not be made: %2.</source>
        <translation>No se ha podido crear la carpeta %1: %2.</translation>
    </message>
    <message>
        <source>The flash image %1 cannot be opened: its register table at byte %2 (setting &quot;%3&quot;) does not hold the registers of its snapshots: entry %4 does not match the start of its memory area. Was it made with other table offsets than this kit&apos;s?</source>
        <translation>No se puede abrir la imagen flash %1: su tabla de registros, en el byte %2 (ajuste &quot;%3&quot;), no contiene los registros de sus instantáneas: la entrada %4 no coincide con el principio de su área de memoria. ¿Se hizo con desplazamientos de tablas distintos de los de este kit?</translation>
    </message>
    <message>
        <source>The flash image %1 cannot be opened: its names do not lie at byte %2 (setting &quot;%3&quot;): the bytes beside that name table at byte %4 are not those of the kit&apos;s bank 1. Was it made with other table offsets or other firmware than this kit&apos;s?</source>
        <translation>No se puede abrir la imagen flash %1: sus nombres no están en el byte %2 (ajuste &quot;%3&quot;): los bytes junto a esa tabla de nombres, en el byte %4, no son los del banco 1 del kit. ¿Se hizo con otros desplazamientos de las tablas u otro firmware que los de este kit?</translation>
    </message>
    <message>
        <source>The flash image %1 cannot be opened: its name table at byte %2 (setting &quot;%3&quot;) does not hold menu names: entry %4 holds the byte 0x%5, which no name has. Was it made with other table offsets than this kit&apos;s?</source>
        <translation>No se puede abrir la imagen flash %1: su tabla de nombres, en el byte %2 (ajuste &quot;%3&quot;), no contiene nombres de menú: la entrada %4 contiene el byte 0x%5, que ningún nombre puede tener. ¿Se hizo con desplazamientos de tablas distintos de los de este kit?</translation>
    </message>
    <message>
        <source>The flash image %1 cannot be opened: the table offsets %2 and %3 lie outside the range the cartridge addresses.</source>
        <translation>No se puede abrir la imagen flash %1: los desplazamientos de las tablas, %2 y %3, quedan fuera del rango que direcciona el cartucho.</translation>
    </message>
    <message>
        <source>The flash image %1 cannot be opened: its ten memory areas are blank, so it holds no snapshots. Is it an image this program made?</source>
        <translation>No se puede abrir la imagen flash %1: sus diez áreas de memoria están en blanco, así que no contiene instantáneas. ¿Es una imagen hecha con este programa?</translation>
    </message>
    <message>
        <source>The folder %1 is a link to %2, which does not exist; nothing was written.</source>
        <translation>La carpeta %1 es un enlace a %2, que no existe; no se ha escrito nada.</translation>
    </message>
</context>
<context>
    <name>FlashImage</name>
    <message>
        <source>The image needs exactly %1 snapshots, not %2.</source>
        <translation>La imagen necesita exactamente %1 instantáneas, no %2.</translation>
    </message>
    <message>
        <source>The image %1 could not be written (%2).</source>
        <translation>No se ha podido escribir la imagen %1 (%2).</translation>
    </message>
    <message>
        <source>The image could not be written (%1).</source>
        <translation>No se ha podido escribir la imagen (%1).</translation>
    </message>
    <message>
        <source>The image could not be positioned at byte %1 (%2).</source>
        <translation>No se ha podido situar la imagen en el byte %1 (%2).</translation>
    </message>
    <message>
        <source>The bank file %1 cannot be read (%2).</source>
        <translation>No se puede leer el archivo de banco %1 (%2).</translation>
    </message>
    <message>
        <source>Entry %1 (&quot;%2&quot;) changed since it was checked: %3</source>
        <translation>La entrada %1 (&quot;%2&quot;) ha cambiado desde que se comprobó: %3</translation>
    </message>
    <message>
        <source>Only part of the image %1 could be written; the disk may be full.</source>
        <translation>Solo se ha podido escribir una parte de la imagen %1; puede que el disco esté lleno.</translation>
    </message>
    <message>
        <source>Only part of the image could be written; the disk may be full.</source>
        <translation>Solo se ha podido escribir una parte de la imagen; puede que el disco esté lleno.</translation>
    </message>
    <message>
        <source>The bank file %1 is empty.</source>
        <translation>El archivo de banco %1 está vacío.</translation>
    </message>
</context>
<context>
    <name>FolderListing</name>
    <message>
        <source>The folder &quot;%1&quot; cannot be listed: it does not exist.</source>
        <translation>No se puede listar la carpeta &quot;%1&quot;: no existe.</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; cannot be listed: it cannot be read.</source>
        <translation>No se puede listar la carpeta &quot;%1&quot;: no se puede leer.</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>The help text %1 cannot be read (%2).</source>
        <translation>No se puede leer el texto de ayuda %1 (%2).</translation>
    </message>
    <message>
        <source>The help text %1 cannot be read: it is larger than %2 bytes.</source>
        <translation>No se puede leer el texto de ayuda %1: mide más de %2 bytes.</translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>La carpeta %1 no existe.</translation>
    </message>
    <message>
        <source>%1 is a folder, pipe or device, not a settings file.</source>
        <translation>%1 es una carpeta, una tubería o un dispositivo, no un archivo de configuración.</translation>
    </message>
    <message>
        <source>%1 could not be read: %2.</source>
        <translation>No se ha podido leer %1: %2.</translation>
    </message>
    <message>
        <source>The key &quot;%1&quot; was not saved in %2: the section, key or value holds a line break or a NUL character.</source>
        <translation>La clave &quot;%1&quot; no se ha guardado en %2: la sección, la clave o el valor contiene un salto de línea o un carácter NUL.</translation>
    </message>
    <message>
        <source>The key &quot;%1&quot; was not saved in %2: the key holds &apos;=&apos;.</source>
        <translation>La clave &quot;%1&quot; no se ha guardado en %2: la clave contiene &apos;=&apos;.</translation>
    </message>
    <message>
        <source>The key &quot;%1&quot; was not saved in %2: the key starts with &apos;[&apos;.</source>
        <translation>La clave &quot;%1&quot; no se ha guardado en %2: la clave empieza por &apos;[&apos;.</translation>
    </message>
    <message>
        <source>The key &quot;%1&quot; was not saved in %2: the file would start with a byte-order mark.</source>
        <translation>La clave &quot;%1&quot; no se ha guardado en %2: el archivo empezaría por una marca de orden de bytes.</translation>
    </message>
</context>
<context>
    <name>KitLocation</name>
    <message>
        <source>The template file %1 cannot be read (%2).</source>
        <translation>No se puede leer el archivo de plantilla %1 (%2).</translation>
    </message>
    <message>
        <source>The data folder %1 is a file, not a folder; move that file away so the program can keep its settings there.</source>
        <translation>La carpeta de datos %1 es un archivo, no una carpeta; mueva ese archivo a otro sitio para que el programa pueda guardar allí su configuración.</translation>
    </message>
    <message>
        <source>The data folder %1 cannot be created.</source>
        <translation>No se puede crear la carpeta de datos %1.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be created.</source>
        <translation>No se puede crear la carpeta %1.</translation>
    </message>
    <message>
        <source>The working folder %1 cannot be created.</source>
        <translation>No se puede crear la carpeta de trabajo %1.</translation>
    </message>
    <message>
        <source>The folder this program lies in cannot be found, so neither can its settings file %1.</source>
        <translation>No se encuentra la carpeta en la que está este programa, ni por tanto su archivo de configuración %1.</translation>
    </message>
    <message>
        <source>The program lies in the folder %1, whose name is not valid UTF-8; rename that folder, or move the program to one whose name is.</source>
        <translation>El programa está en la carpeta %1, cuyo nombre no es UTF-8 válido; cambie el nombre de esa carpeta o mueva el programa a una cuyo nombre lo sea.</translation>
    </message>
    <message>
        <source>There is no settings file %1 beside the program in %2, nor an installed template in %3; put a %1 beside the program, or install it again.</source>
        <translation>No hay ningún archivo de configuración %1 junto al programa en %2, ni una plantilla instalada en %3; ponga un %1 junto al programa o vuelva a instalarlo.</translation>
    </message>
    <message>
        <source>The user&apos;s data folder cannot be found; set HOME or XDG_DATA_HOME.</source>
        <translation>No se encuentra la carpeta de datos del usuario; defina HOME o XDG_DATA_HOME.</translation>
    </message>
    <message>
        <source>The data folder %1 has a name that is not valid UTF-8; set XDG_DATA_HOME to a folder whose name is.</source>
        <translation>La carpeta de datos %1 tiene un nombre que no es UTF-8 válido; haga que XDG_DATA_HOME señale una carpeta cuyo nombre lo sea.</translation>
    </message>
</context>
<context>
    <name>Libspectrum</name>
    <message>
        <source>The file %1 was saved with a ROM of its own; on the Spectrum&apos;s own ROM the program may not work.</source>
        <translation>El archivo %1 se guardó con una ROM propia; con la ROM del propio Spectrum puede que el programa no funcione.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read as a snapshot (%2).</source>
        <translation>No se puede leer el archivo %1 como instantánea (%2).</translation>
    </message>
    <message>
        <source>The file %1 is compressed; unpack it and pick the snapshot inside.</source>
        <translation>El archivo %1 está comprimido; descomprímalo y elija la instantánea que contiene.</translation>
    </message>
    <message>
        <source>The file %1 is not a snapshot in any format the program reads.</source>
        <translation>El archivo %1 no es una instantánea en ningún formato que lea el programa.</translation>
    </message>
    <message>
        <source>The file %1 is %2 bytes long; a 48K snapshot has %3 bytes (%4).</source>
        <translation>El archivo %1 ocupa %2 bytes; una instantánea de 48K tiene %3 bytes (%4).</translation>
    </message>
    <message>
        <source>The file %1 is damaged or not a snapshot (%2).</source>
        <translation>El archivo %1 está dañado o no es una instantánea (%2).</translation>
    </message>
    <message>
        <source>The file %1 is a 128K snapshot: the cartridge runs 48K programs.</source>
        <translation>El archivo %1 es una instantánea de 128K: el cartucho ejecuta programas de 48K.</translation>
    </message>
    <message>
        <source>The file %1 is an unknown machine&apos;s snapshot: the cartridge runs 48K programs.</source>
        <translation>El archivo %1 es una instantánea de una máquina desconocida: el cartucho ejecuta programas de 48K.</translation>
    </message>
    <message>
        <source>The file %1 is a %2 snapshot: the cartridge runs 48K programs.</source>
        <translation>El archivo %1 es una instantánea de %2: el cartucho ejecuta programas de 48K.</translation>
    </message>
    <message>
        <source>The file %1 is damaged: it holds only part of the memory.</source>
        <translation>El archivo %1 está dañado: solo contiene una parte de la memoria.</translation>
    </message>
    <message>
        <source>The file %1 cannot be made a 48K snapshot: its stack pointer is 0x%2, which leaves no room in RAM below it for the program counter, and the 48K snapshot form keeps that on the stack.</source>
        <translation>El archivo %1 no se puede convertir en una instantánea de 48K: su puntero de pila es 0x%2, lo que no deja sitio en la RAM por debajo para el contador de programa, y el formato de instantánea de 48K lo guarda en la pila.</translation>
    </message>
    <message>
        <source>The file %1 was saved with a ZX Printer attached; without one the program runs, but prints nothing.</source>
        <translation>El archivo %1 se guardó con una ZX Printer en el equipo; sin ella el programa funciona, pero no imprime nada.</translation>
    </message>
    <message>
        <source>Saved with a ZX Printer attached: without one it prints nothing.</source>
        <translation>Guardada con una ZX Printer en el equipo: sin ella no imprime nada.</translation>
    </message>
    <message>
        <source>Saved with a ROM of its own: it may not work on the Spectrum&apos;s ROM.</source>
        <translation>Guardada con una ROM propia: puede que no funcione con la ROM del Spectrum.</translation>
    </message>
    <message>
        <source>The file %1 was saved for a %2 joystick; the program may need one attached to the Spectrum, or the keys chosen in its menu.</source>
        <translation>El archivo %1 se guardó para un joystick %2; puede que el programa necesite uno conectado al Spectrum, o que se elijan las teclas en su menú.</translation>
    </message>
    <message>
        <source>Saved for a %1 joystick: attach one to the Spectrum, or choose keys in the game.</source>
        <translation>Guardada para un joystick %1: conecte uno al Spectrum, o elija las teclas en el juego.</translation>
    </message>
    <message>
        <source>The file %1 is %2 bytes long, too large for a tape (at most %3 bytes).</source>
        <translation>El archivo %1 tiene %2 bytes, demasiados para una cinta (como máximo %3 bytes).</translation>
    </message>
    <message>
        <source>The file %1 cannot be read as a tape (%2).</source>
        <translation>No se puede leer el archivo %1 como cinta (%2).</translation>
    </message>
    <message>
        <source>The file %1 is not a tape in any format the program reads.</source>
        <translation>El archivo %1 no es una cinta en ningún formato que lea el programa.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read: no room for a temporary copy (%2).</source>
        <translation>No se puede leer el archivo %1: no hay sitio para una copia temporal (%2).</translation>
    </message>
    <message>
        <source>The file %1 is damaged or not a tape (%2).</source>
        <translation>El archivo %1 está dañado o no es una cinta (%2).</translation>
    </message>
    <message>
        <source>The tape %1 holds nothing to load.</source>
        <translation>La cinta %1 no contiene nada que cargar.</translation>
    </message>
    <message>
        <source>The file %1 is a tape image, not a snapshot.</source>
        <translation>El archivo %1 es una imagen de cinta, no una instantánea.</translation>
    </message>
    <message>
        <source>The file %1 is a disk image, not a snapshot.</source>
        <translation>El archivo %1 es una imagen de disco, no una instantánea.</translation>
    </message>
    <message>
        <source>The file %1 is an input recording, not a snapshot.</source>
        <translation>El archivo %1 es una grabación de partida, no una instantánea.</translation>
    </message>
    <message>
        <source>The file %1 is a cartridge image, not a snapshot.</source>
        <translation>El archivo %1 es una imagen de cartucho, no una instantánea.</translation>
    </message>
    <message>
        <source>The file %1 is a hard disk image, not a snapshot.</source>
        <translation>El archivo %1 es una imagen de disco duro, no una instantánea.</translation>
    </message>
    <message>
        <source>The file %1 is a microdrive cartridge image, not a snapshot.</source>
        <translation>El archivo %1 es una imagen de cartucho de microdrive, no una instantánea.</translation>
    </message>
    <message>
        <source>The file %1 is a screen picture, not a snapshot.</source>
        <translation>El archivo %1 es una imagen de pantalla, no una instantánea.</translation>
    </message>
    <message>
        <source>The file %1 is a file of pokes, not a snapshot.</source>
        <translation>El archivo %1 es un archivo de pokes, no una instantánea.</translation>
    </message>
    <message>
        <source>The file %1 was saved with the %2 attached; without one the program may play without some of its sound.</source>
        <translation>El archivo %1 se guardó con el dispositivo %2 conectado; sin él, puede que el programa suene sin parte de su sonido.</translation>
    </message>
    <message>
        <source>Saved with the %1: without one it plays without that sound.</source>
        <translation>Guardada con el dispositivo %1: sin él se juega sin ese sonido.</translation>
    </message>
    <message>
        <source>The file %1 was saved while the ROM of the %2 was paged in; the program will likely not resume from the cartridge.</source>
        <translation>El archivo %1 se guardó con la ROM del dispositivo %2 paginada; lo más probable es que el programa no se reanude desde el cartucho.</translation>
    </message>
    <message>
        <source>Saved with the ROM of the %1 paged in: it will likely not resume.</source>
        <translation>Guardada con la ROM del dispositivo %1 paginada: lo más probable es que no se reanude.</translation>
    </message>
    <message>
        <source>The file %1 was saved with the %2 attached but not in use; the program runs without one.</source>
        <translation>El archivo %1 se guardó con el dispositivo %2 conectado pero sin usar; el programa funciona sin él.</translation>
    </message>
    <message>
        <source>Saved with the %1 attached, not in use: it runs without one.</source>
        <translation>Guardada con el dispositivo %1 conectado, sin usar: funciona sin él.</translation>
    </message>
    <message>
        <source>The file %1 was saved with the %2 attached; the cartridge does not give one, so the program may not work without it.</source>
        <translation>El archivo %1 se guardó con el dispositivo %2 conectado; el cartucho no lo aporta, así que puede que el programa no funcione sin él.</translation>
    </message>
    <message>
        <source>Saved with the %1 attached: it may not work without one.</source>
        <translation>Guardada con el dispositivo %1 conectado: puede que no funcione sin él.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read as a snapshot.</source>
        <translation>No se puede leer el archivo %1 como instantánea.</translation>
    </message>
    <message>
        <source>The file %1 is %2 bytes long; a 48K snapshot has %3 bytes.</source>
        <translation>El archivo %1 ocupa %2 bytes; una instantánea de 48K tiene %3 bytes.</translation>
    </message>
    <message>
        <source>The file %1 is damaged or not a snapshot.</source>
        <translation>El archivo %1 está dañado o no es una instantánea.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read as a tape.</source>
        <translation>No se puede leer el archivo %1 como cinta.</translation>
    </message>
    <message>
        <source>The file %1 is damaged or not a tape.</source>
        <translation>El archivo %1 está dañado o no es una cinta.</translation>
    </message>
</context>
<context>
    <name>Modes</name>
    <message>
        <source>tessel-flash: warning: %1</source>
        <translation>tessel-flash: aviso: %1</translation>
    </message>
    <message>
        <source>--kit needs the name of a kit folder.</source>
        <translation>--kit necesita el nombre de una carpeta de kit.</translation>
    </message>
    <message>
        <source>--to-sna takes two files: the snapshot and the .sna to write.</source>
        <translation>--to-sna recibe dos archivos: la instantánea y el .sna que se escribe.</translation>
    </message>
    <message>
        <source>--extract takes no -o or --list: give the image and the folder, tessel-flash --extract IMAGE DIR.</source>
        <translation>--extract no admite -o ni --list: indique la imagen y la carpeta, tessel-flash --extract IMAGEN CARPETA.</translation>
    </message>
    <message>
        <source>--extract needs one folder after the image: tessel-flash --extract IMAGE DIR.</source>
        <translation>--extract necesita una carpeta tras la imagen: tessel-flash --extract IMAGEN CARPETA.</translation>
    </message>
    <message>
        <source>Give --force to replace them.</source>
        <translation>Indique --force para sustituirlos.</translation>
    </message>
    <message>
        <source>--force goes only with --extract.</source>
        <translation>--force solo va con --extract.</translation>
    </message>
    <message>
        <source>No output file: give one with -o FILE.</source>
        <translation>Falta el archivo de salida: indíquelo con -o ARCHIVO.</translation>
    </message>
    <message>
        <source>Give the entries either as NAME=PATH arguments or with --list, not both.</source>
        <translation>Indique las entradas como argumentos NOMBRE=RUTA o con --list, pero no de las dos formas.</translation>
    </message>
    <message>
        <source>--extract needs the names of an image and a folder; an empty name is neither.</source>
        <translation>--extract necesita los nombres de una imagen y de una carpeta; un nombre vacío no es ninguna de las dos.</translation>
    </message>
    <message>
        <source>-o needs the name of the file to write.</source>
        <translation>-o necesita el nombre del archivo que se escribe.</translation>
    </message>
    <message>
        <source>--show takes the image alone: tessel-flash --show IMAGE.</source>
        <translation>--show recibe solo la imagen: tessel-flash --show IMAGEN.</translation>
    </message>
    <message>
        <source>--poke %1: write NAME=ADDR,VALUE[:ADDR,VALUE...].</source>
        <translation>--poke %1: escriba NOMBRE=DIR,VALOR[:DIR,VALOR...].</translation>
    </message>
    <message>
        <source>--poke %1: %2</source>
        <translation>--poke %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>--poke %1: %n entries have the menu name &quot;%2&quot;; it must name exactly one.</source>
        <translation>
            <numerusform>--poke %1: %n entrada tiene el nombre de menú «%2»; debe nombrar exactamente una.</numerusform>
            <numerusform>--poke %1: %n entradas tienen el nombre de menú «%2»; debe nombrar exactamente una.</numerusform>
        </translation>
    </message>
    <message>
        <source>--poke goes with a build, not with %1.</source>
        <translation>--poke acompaña a una construcción, no a %1.</translation>
    </message>
    <message>
        <source>tessel-flash: the snapshots hold their memory as the image holds it, with the pokes of any trainers the image was built with.</source>
        <translation>tessel-flash: las instantáneas contienen su memoria tal como la contiene la imagen, con los pokes de los trucos con que se construyó.</translation>
    </message>
</context>
<context>
    <name>PokFile</name>
    <message>
        <source>The trainer file %1 cannot be read (%2).</source>
        <translation>No se puede leer el archivo de trucos %1 (%2).</translation>
    </message>
    <message>
        <source>Trainers apply to a 48K snapshot of %1 bytes only.</source>
        <translation>Los trucos solo se aplican a una instantánea de 48K de %1 bytes.</translation>
    </message>
    <message>
        <source>The trainer &quot;%1&quot; pokes the address %2, in the ROM, which cannot be changed.</source>
        <translation>El truco «%1» hace un poke en la dirección %2, en la ROM, que no se puede cambiar.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a poke; write ADDRESS,VALUE in decimal.</source>
        <translation>«%1» no es un poke; escriba DIRECCIÓN,VALOR en decimal.</translation>
    </message>
    <message>
        <source>The poke &quot;%1&quot; is out of range: the address must be 16384 to 65535 and the value 0 to 255.</source>
        <translation>El poke «%1» se sale del rango: la dirección debe ir de 16384 a 65535 y el valor de 0 a 255.</translation>
    </message>
    <message>
        <source>Line %1: a poke needs four numbers (bank, address, value, original), not %2.</source>
        <translation>Línea %1: un poke necesita cuatro números (banco, dirección, valor, original), no %2.</translation>
    </message>
    <message>
        <source>Line %1: a poke&apos;s bank is one digit, its address up to five and its value and original up to three.</source>
        <translation>Línea %1: el banco de un poke es una cifra, su dirección hasta cinco y su valor y su original hasta tres.</translation>
    </message>
    <message>
        <source>Line %1: the value %2 is neither a byte nor 256 (for the user to give).</source>
        <translation>Línea %1: el valor %2 no es un byte ni 256 (para que lo dé el usuario).</translation>
    </message>
    <message>
        <source>Line %1: the original %2 is not a byte.</source>
        <translation>Línea %1: el original %2 no es un byte.</translation>
    </message>
    <message>
        <source>Line %1: the address %2 is beyond 65535.</source>
        <translation>Línea %1: la dirección %2 pasa de 65535.</translation>
    </message>
    <message>
        <source>Line %1: the address %2 is in the ROM, which cannot be changed.</source>
        <translation>Línea %1: la dirección %2 está en la ROM, que no se puede cambiar.</translation>
    </message>
    <message>
        <source>Line %1: the bank 9 is no memory bank.</source>
        <translation>Línea %1: el banco 9 no es un banco de memoria.</translation>
    </message>
    <message>
        <source>Line %1: the bank %2 is a page of a 128K&apos;s memory that a 48K Spectrum does not have.</source>
        <translation>Línea %1: el banco %2 es una página de la memoria de un 128K que un Spectrum 48K no tiene.</translation>
    </message>
    <message>
        <source>These bytes are not text, so they are no trainer file.</source>
        <translation>Estos bytes no son texto, así que no son un archivo de trucos.</translation>
    </message>
    <message>
        <source>Line %1: the trainer has no last poke (a Z line).</source>
        <translation>Línea %1: el truco no tiene último poke (una línea Z).</translation>
    </message>
    <message>
        <source>Line %1: it starts with none of N, M, Z and Y, so it is no line of a trainer file.</source>
        <translation>Línea %1: no empieza por N, M, Z ni Y, así que no es una línea de un archivo de trucos.</translation>
    </message>
    <message>
        <source>Line %1: a poke outside any trainer: no N line names it.</source>
        <translation>Línea %1: un poke fuera de todo truco: ninguna línea N lo nombra.</translation>
    </message>
    <message>
        <source>The trainer file %1 cannot be read (it is larger than %2 bytes, which no trainer file is).</source>
        <translation>No se puede leer el archivo de trucos %1 (ocupa más de %2 bytes, y ningún archivo de trucos es tan grande).</translation>
    </message>
    <message>
        <source>The trainer file %1 cannot be read: it is not a text file.</source>
        <translation>No se puede leer el archivo de trucos %1: no es un archivo de texto.</translation>
    </message>
</context>
<context>
    <name>ProcessLauncher</name>
    <message>
        <source>The file does not exist.</source>
        <translation>El archivo no existe.</translation>
    </message>
    <message>
        <source>The file is a folder, not a program.</source>
        <translation>El archivo es una carpeta, no un programa.</translation>
    </message>
    <message>
        <source>The file is not marked as executable.</source>
        <translation>El archivo no está marcado como ejecutable.</translation>
    </message>
    <message>
        <source>The program is not installed, or not on the search path.</source>
        <translation>El programa no está instalado o no está en la ruta de búsqueda.</translation>
    </message>
    <message>
        <source>Unknown.</source>
        <translation>Desconocido.</translation>
    </message>
</context>
<context>
    <name>QtPrompts</name>
    <message>
        <source>&amp;Skip</source>
        <translation>&amp;Omitir</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>&amp;Detener</translation>
    </message>
</context>
<context>
    <name>RemoveSnapshot</name>
    <message>
        <source>Delete from the list %1?</source>
        <translation>¿Quitar %1 de la lista?</translation>
    </message>
    <message>
        <source>Are you sure? The actual list of SNAs will be erased.</source>
        <translation>¿Está seguro? Se borrará la lista actual de SNA.</translation>
    </message>
</context>
<context>
    <name>Rom</name>
    <message>
        <source>The ROM %1 cannot be read (%2).</source>
        <translation>No se puede leer la ROM %1 (%2).</translation>
    </message>
    <message>
        <source>The ROM %1 is %2 bytes long; a 48K Spectrum ROM has %3 bytes.</source>
        <translation>La ROM %1 tiene %2 bytes; una ROM del Spectrum de 48K tiene %3 bytes.</translation>
    </message>
    <message>
        <source>There is no ROM to load tapes with: put the Sinclair 48K ROM in %1 as 48.rom, or name it in the setting %2 of %3, or install the package opense-basic.</source>
        <translation>No hay ninguna ROM con la que cargar cintas: ponga la ROM de 48K de Sinclair en %1 como 48.rom, o nómbrela en el ajuste %2 de %3, o instale el paquete opense-basic.</translation>
    </message>
    <message>
        <source>There is no ROM to load tapes with: install the package opense-basic, or give a program folder that holds the Sinclair 48K ROM as 48.rom.</source>
        <translation>No hay ninguna ROM con la que cargar cintas: instale el paquete opense-basic, o indique una carpeta del programa que contenga la ROM de 48K de Sinclair como 48.rom.</translation>
    </message>
    <message>
        <source>The tape %1 was loaded with OpenSE BASIC, since the Sinclair 48K ROM was not found: a loader that calls into the Sinclair ROM fails with it, and a BASIC program saved under it may not run on a real Spectrum. Put the Sinclair ROM in the program folder as 48.rom to load with it.</source>
        <translation>La cinta %1 se ha cargado con OpenSE BASIC, porque no se ha encontrado la ROM de 48K de Sinclair: un cargador que llame a la ROM de Sinclair falla con ella, y un programa BASIC guardado con ella puede no funcionar en un Spectrum real. Ponga la ROM de Sinclair en la carpeta del programa como 48.rom para cargar con ella.</translation>
    </message>
    <message>
        <source>The tape %1 was loaded with the ROM %2, which is neither the Sinclair 48K ROM nor OpenSE BASIC: the snapshot may not run on a real Spectrum.</source>
        <translation>La cinta %1 se ha cargado con la ROM %2, que no es ni la ROM de 48K de Sinclair ni OpenSE BASIC: la instantánea puede no funcionar en un Spectrum real.</translation>
    </message>
    <message>
        <source>Loaded with a ROM of its own.</source>
        <translation>Cargada con una ROM propia.</translation>
    </message>
    <message>
        <source>Loaded with OpenSE BASIC: loaders that call the Sinclair ROM fail, and a BASIC program may not run on a real Spectrum.</source>
        <translation>Cargada con OpenSE BASIC: los cargadores que llaman a la ROM de Sinclair fallan, y un programa BASIC puede no funcionar en un Spectrum real.</translation>
    </message>
</context>
<context>
    <name>SaveQuestions</name>
    <message>
        <source>%1 already exists.<byte value="xd"/>Do you want to replace it?</source>
        <translation>%1 ya existe.<byte value="xd"/>¿Quiere sustituirlo?</translation>
    </message>
</context>
<context>
    <name>ScreenPreview</name>
    <message>
        <source>Another machine&apos;s snapshot: cannot go on this cartridge.</source>
        <translation>Instantánea de otra máquina: no puede ir en este cartucho.</translation>
    </message>
    <message>
        <source>%1: cannot go on this cartridge.</source>
        <translation>%1: no puede ir en este cartucho.</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The settings file %1 cannot be read.</source>
        <translation>No se puede leer el archivo de configuración %1.</translation>
    </message>
    <message>
        <source>The settings file %1 does not exist; the kit needs one with the table offsets in section [%2].</source>
        <translation>El archivo de configuración %1 no existe; el kit necesita uno con los desplazamientos de las tablas en la sección [%2].</translation>
    </message>
    <message>
        <source>The settings file %1 has no section [%2]; is it a settings file? The section holds the table offsets.</source>
        <translation>El archivo de configuración %1 no tiene sección [%2]; ¿es un archivo de configuración? La sección contiene los desplazamientos de las tablas.</translation>
    </message>
    <message>
        <source>The setting &quot;%1&quot; in section [%2] of %3 is missing; it must hold the table&apos;s offset in the image.</source>
        <translation>Falta el ajuste &quot;%1&quot; de la sección [%2] de %3; debe contener el desplazamiento de la tabla en la imagen.</translation>
    </message>
    <message>
        <source>The setting &quot;%1&quot; in section [%2] of %3 is &quot;%4&quot;, which is not a whole decimal number.</source>
        <translation>El ajuste &quot;%1&quot; de la sección [%2] de %3 es &quot;%4&quot;, que no es un número decimal entero.</translation>
    </message>
    <message>
        <source>The setting &quot;%1&quot; in section [%2] of %3 is %4, outside the range 0 to %5.</source>
        <translation>El ajuste &quot;%1&quot; de la sección [%2] de %3 es %4, fuera del rango de 0 a %5.</translation>
    </message>
</context>
<context>
    <name>SnapshotChecks</name>
    <message>
        <source>The file %1 is not a .sp snapshot: it does not start with the 38-byte header of one.</source>
        <translation>El archivo %1 no es una instantánea .sp: no empieza con la cabecera de 38 bytes de una.</translation>
    </message>
    <message>
        <source>The file %1 is damaged: its header puts %2 bytes of memory at address %3, outside the RAM from 16384 to 65535.</source>
        <translation>El archivo %1 está dañado: su cabecera pone %2 bytes de memoria en la dirección %3, fuera de la RAM de 16384 a 65535.</translation>
    </message>
    <message>
        <source>The file %1 is damaged: its header promises %2 bytes of memory, but the file holds %3.</source>
        <translation>El archivo %1 está dañado: su cabecera anuncia %2 bytes de memoria, pero el archivo contiene %3.</translation>
    </message>
    <message>
        <source>The file %1 cannot be made a 48K snapshot: its stack pointer is 0x%2, which leaves no room in RAM below it for the program counter, and the 48K snapshot form keeps that on the stack.</source>
        <translation>El archivo %1 no se puede convertir en una instantánea de 48K: su puntero de pila es 0x%2, lo que no deja sitio en la RAM por debajo para el contador de programa, y el formato de instantánea de 48K lo guarda en la pila.</translation>
    </message>
    <message>
        <source>The file %1 is damaged: its header is cut short.</source>
        <translation>El archivo %1 está dañado: su cabecera está cortada.</translation>
    </message>
    <message>
        <source>The file %1 is damaged: its memory is cut short.</source>
        <translation>El archivo %1 está dañado: su memoria está cortada.</translation>
    </message>
    <message>
        <source>The file %1 is damaged: its memory block %2 is cut short.</source>
        <translation>El archivo %1 está dañado: su bloque de memoria %2 está cortado.</translation>
    </message>
    <message>
        <source>The file %1 is damaged: its header is not one of a known version.</source>
        <translation>El archivo %1 está dañado: su cabecera no es de ninguna versión conocida.</translation>
    </message>
    <message>
        <source>The file %1 is damaged: its memory block %2 is empty.</source>
        <translation>El archivo %1 está dañado: su bloque de memoria %2 está vacío.</translation>
    </message>
    <message>
        <source>The file %1 is damaged: its memory block %2 (page %3) holds more than %4 bytes.</source>
        <translation>El archivo %1 está dañado: su bloque de memoria %2 (página %3) contiene más de %4 bytes.</translation>
    </message>
    <message>
        <source>The file %1 is damaged: its memory block %2 (page %3) holds %4 bytes, not %5.</source>
        <translation>El archivo %1 está dañado: su bloque de memoria %2 (página %3) contiene %4 bytes, no %5.</translation>
    </message>
    <message>
        <source>The file %1 is not a .z80 snapshot, but it has the size of a 48K .sna, 49,179 bytes: it looks like a .sna with another name. Rename it to end in .sna.</source>
        <translation>El archivo %1 no es una instantánea .z80, pero tiene el tamaño de un .sna de 48K, 49.179 bytes: parece un .sna con otro nombre. Cámbielo de nombre para que termine en .sna.</translation>
    </message>
    <message>
        <source>The file %1 is damaged: its last block is cut short.</source>
        <translation>El archivo %1 está dañado: su último bloque está cortado.</translation>
    </message>
    <message>
        <source>The file %1 is damaged: its block %2 runs past the end of the file.</source>
        <translation>El archivo %1 está dañado: su bloque %2 sobrepasa el final del archivo.</translation>
    </message>
    <message>
        <source>The file %1 is damaged: its block %2 is %3 bytes long, more than such a block ever holds (%4 bytes).</source>
        <translation>El archivo %1 está dañado: su bloque %2 ocupa %3 bytes, más de lo que un bloque así contiene nunca (%4 bytes).</translation>
    </message>
</context>
<context>
    <name>SnapshotReader</name>
    <message>
        <source>The file %1 is %2 bytes long, too large for a snapshot (at most %3 bytes).</source>
        <translation>El archivo %1 ocupa %2 bytes, demasiado para una instantánea (como máximo, %3 bytes).</translation>
    </message>
    <message>
        <source>The file %1 cannot be read (%2).</source>
        <translation>No se puede leer el archivo %1 (%2).</translation>
    </message>
</context>
<context>
    <name>Source</name>
    <message>
        <source>The file %1 cannot be read (%2).</source>
        <translation>No se puede leer el archivo %1 (%2).</translation>
    </message>
    <message>
        <source>The file %1 is %2 bytes long, too large for a tape (at most %3 bytes).</source>
        <translation>El archivo %1 tiene %2 bytes, demasiados para una cinta (como máximo %3 bytes).</translation>
    </message>
    <message>
        <source>The tape %1 did not load: the Spectrum reported &quot;R Tape loading error&quot;, so a block of it is damaged.</source>
        <translation>La cinta %1 no se ha cargado: el Spectrum ha dado &quot;R Tape loading error&quot;, así que uno de sus bloques está dañado.</translation>
    </message>
    <message>
        <source>The tape %1 loaded nothing: it ended while the Spectrum was still waiting to load from it.</source>
        <translation>La cinta %1 no ha cargado nada: ha terminado mientras el Spectrum aún esperaba cargar de ella.</translation>
    </message>
    <message>
        <source>The tape %1 was still loading after 15 minutes of the Spectrum&apos;s time, and was given up.</source>
        <translation>La cinta %1 seguía cargando tras 15 minutos del tiempo del Spectrum, y se ha abandonado.</translation>
    </message>
    <message>
        <source>The tape %1 holds a 128K program: it pages the 128K&apos;s memory (a write to port 0x7FFD), and the cartridge runs 48K programs.</source>
        <translation>La cinta %1 contiene un programa de 128K: pagina la memoria del 128K (una escritura en el puerto 0x7FFD), y el cartucho ejecuta programas de 48K.</translation>
    </message>
    <message>
        <source>The tape %1 was not loaded: the ROM %2 did not start (its frame counter never ticked).</source>
        <translation>La cinta %1 no se ha cargado: la ROM %2 no ha arrancado (su contador de cuadros no ha avanzado).</translation>
    </message>
    <message>
        <source>The tape %1 loaded, but its program&apos;s stack pointer never left room in RAM for the program counter, which the 48K snapshot form keeps on the stack.</source>
        <translation>La cinta %1 se ha cargado, pero el puntero de pila de su programa nunca ha dejado sitio en la RAM para el contador de programa, que el formato de instantánea de 48K guarda en la pila.</translation>
    </message>
    <message>
        <source>Block %1 of the tape %2 was never read: probably a multi-load game; only the first part goes on the cartridge.</source>
        <translation>El bloque %1 de la cinta %2 no se ha leído nunca: probablemente es un juego de carga múltiple; solo la primera parte va al cartucho.</translation>
    </message>
    <message>
        <source>Only the first part of a multi-load game.</source>
        <translation>Solo la primera parte de un juego de varias cargas.</translation>
    </message>
    <message>
        <source>Blocks %1 of the tape %2 were never read: probably a multi-load game; only the first part goes on the cartridge.</source>
        <translation>Los bloques %1 de la cinta %2 no se han leído nunca: probablemente es un juego de carga múltiple; solo la primera parte va al cartucho.</translation>
    </message>
    <message>
        <source>The program of the tape %1 still read the tape like a loader after it ended: if it waits for more of the tape, the snapshot will not run.</source>
        <translation>El programa de la cinta %1 seguía leyendo la cinta como un cargador después de que terminara: si espera más cinta, la instantánea no funcionará.</translation>
    </message>
    <message>
        <source>Still read the tape after it ended.</source>
        <translation>Seguía leyendo la cinta tras su final.</translation>
    </message>
    <message>
        <source>The tape %1 loaded nothing: the Spectrum was reset, by its program or by a loader that failed, and no program was left in memory.</source>
        <translation>La cinta %1 no ha cargado nada: el Spectrum se ha reiniciado, por su programa o por un cargador que ha fallado, y no ha quedado ningún programa en memoria.</translation>
    </message>
</context>
<context>
    <name>Tape</name>
    <message>
        <source>The file %1 is compressed; unpack it and pick the tape inside.</source>
        <translation>El archivo %1 está comprimido; descomprímalo y elija la cinta que contiene.</translation>
    </message>
</context>
<context>
    <name>TapeCache</name>
    <message>
        <source>The tape cache folder %1 could not be made.</source>
        <translation>No se ha podido crear la carpeta de la caché de cintas %1.</translation>
    </message>
    <message>
        <source>The tape cache folder cannot be found; set HOME or XDG_CACHE_HOME.</source>
        <translation>No se encuentra la carpeta de la caché de cintas; defina HOME o XDG_CACHE_HOME.</translation>
    </message>
</context>
<context>
    <name>TapeLoading</name>
    <message>
        <source>Loading the tape %1 on an emulated Spectrum...</source>
        <translation>Cargando la cinta %1 en un Spectrum emulado...</translation>
    </message>
</context>
<context>
    <name>TrainerChoice</name>
    <message>
        <source>The trainer &quot;%1&quot; asks for the value to poke at the address %2: a number from 0 to 255.</source>
        <translation>El truco «%1» pide el valor del poke en la dirección %2: un número de 0 a 255.</translation>
    </message>
    <message>
        <source>Trainers</source>
        <translation>Trucos</translation>
    </message>
    <message>
        <source>The value &quot;%1&quot; is refused: a poke&apos;s value is a number from 0 to 255.</source>
        <translation>Se rechaza el valor «%1»: el valor de un poke es un número de 0 a 255.</translation>
    </message>
</context>
<context>
    <name>ZxCharset</name>
    <message>
        <source>%1 as %2</source>
        <comment>typed character shown as</comment>
        <translation>%1 como %2</translation>
    </message>
    <message>
        <source>The Spectrum shows %1</source>
        <comment>a list of changes</comment>
        <translation>El Spectrum muestra %1</translation>
    </message>
    <message>
        <source>, </source>
        <comment>list separator</comment>
        <translation>, </translation>
    </message>
    <message>
        <source>%1 as a blank</source>
        <comment>typed character shown as a blank</comment>
        <translation>%1 como un espacio en blanco</translation>
    </message>
</context>
<context>
    <name>tessel-flash</name>
    <message>
        <source>For an entry whose name begins with &quot;-&quot;, put -- before the entries: tessel-flash -o FILE -- -Name=PATH ...</source>
        <translation>Para una entrada cuyo nombre empiece por &quot;-&quot;, ponga -- antes de las entradas: tessel-flash -o ARCHIVO -- -Nombre=RUTA ...</translation>
    </message>
    <message>
        <source>The argument &quot;%1&quot; is not valid UTF-8 text, so the file it names cannot be reached by that name; rename the file or folder.</source>
        <translation>El argumento &quot;%1&quot; no es texto UTF-8 válido, así que no se puede llegar con ese nombre al archivo que nombra; cambie el nombre del archivo o de la carpeta.</translation>
    </message>
</context>
<context>
    <name>tessel-screen</name>
    <message>
        <source>The picture to write.</source>
        <translation>La imagen que se escribe.</translation>
    </message>
    <message>
        <source>Give a snapshot and the PNG to write, as in: tessel-screen game.sna game.png</source>
        <translation>Indique una instantánea y el PNG que se escribe, como en: tessel-screen juego.sna juego.png</translation>
    </message>
    <message>
        <source>snapshot</source>
        <translation>instantánea</translation>
    </message>
    <message>
        <source>png</source>
        <translation>png</translation>
    </message>
    <message>
        <source>The argument &quot;%1&quot; is not valid UTF-8 text, so the file it names cannot be reached by that name; rename the file or folder.</source>
        <translation>El argumento &quot;%1&quot; no es texto UTF-8 válido, así que no se puede llegar con ese nombre al archivo que nombra; cambie el nombre del archivo o de la carpeta.</translation>
    </message>
    <message>
        <source>Writes the screen a 48K snapshot was showing as a 256x192 PNG: the
6,912 bytes at 0x4000 drawn with the Spectrum&apos;s colours, without the
border, FLASH in its first phase (INK drawn as INK). The snapshot is a
48K .sna, .z80, .szx or any other snapshot libspectrum reads, or a tape
(.tap, .tzx, .pzx, .csw, .wav), loaded as a 48K Spectrum loads it with
the ROM of the program folder (48.rom or the setting Rom48, else
OpenSE BASIC): the screen is then the one the loaded program shows.

The PNG is replaced as a whole and its full path is printed. On any
problem a message goes to stderr, the exit status is 1 and no file is
written or changed.</source>
        <translation>Escribe la pantalla que mostraba una instantánea de 48K como un PNG de
256x192: los 6.912 bytes desde 0x4000 dibujados con los colores del
Spectrum, sin el borde, con FLASH en su primera fase (INK dibujado como
INK). La instantánea es un .sna, .z80 o .szx de 48K o cualquier otra
instantánea que lea libspectrum, o una cinta (.tap, .tzx, .pzx, .csw,
.wav), cargada como la carga un Spectrum de 48K con la ROM de la carpeta
del programa (48.rom o el ajuste Rom48; si no, OpenSE BASIC): la pantalla
es entonces la que muestra el programa cargado.

El PNG se sustituye entero y se muestra su ruta completa. Ante cualquier
problema se escribe un mensaje en stderr, el código de salida es 1 y no se
escribe ni se cambia ningún archivo.</translation>
    </message>
    <message>
        <source>The snapshot or tape to read.</source>
        <translation>La instantánea o la cinta que se lee.</translation>
    </message>
    <message>
        <source>tessel-screen: warning: %1</source>
        <translation>tessel-screen: aviso: %1</translation>
    </message>
</context>
<context>
    <name>tessel::AboutWindow</name>
    <message>
        <source>About de Tessel Zizerev</source>
        <translation>Acerca de Tessel Zizerev</translation>
    </message>
    <message>
        <source>Hardware and Spectrum software: the Tessel team</source>
        <translation>Hardware y software de Spectrum: el equipo Tessel</translation>
    </message>
    <message>
        <source>This program: the Tessel Zizerev team (GPL 3+)</source>
        <translation>Este programa: el equipo de Tessel Zizerev (GPL 3+)</translation>
    </message>
    <message>
        <source>The Tessel team: %1</source>
        <translation>El equipo Tessel: %1</translation>
    </message>
    <message>
        <source>Agradecimientos/Thanks to:</source>
        <translation>Agradecimientos:</translation>
    </message>
    <message>
        <source>The authors of Aspectrum and of libspectrum</source>
        <translation>Los autores de Aspectrum y de libspectrum</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>The Tessel cartridge plugged into a ZX Spectrum</source>
        <translation>El cartucho Tessel conectado a un ZX Spectrum</translation>
    </message>
    <message>
        <source>The authors of libz80ex and of OpenSE BASIC</source>
        <translation>Los autores de libz80ex y de OpenSE BASIC</translation>
    </message>
</context>
<context>
    <name>tessel::BurnWindow</name>
    <message>
        <source>Tessel Cart Burn</source>
        <translation>Grabación del cartucho Tessel</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Burn progress</source>
        <translation>Progreso de la grabación</translation>
    </message>
    <message>
        <source>Flash memory burn in progress</source>
        <translation>Grabando la memoria flash</translation>
    </message>
</context>
<context>
    <name>tessel::FirmwareWindow</name>
    <message>
        <source>Firmware</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>The program folder %1 holds the firmware banks and, in its tessel.ini, the table offsets that came with them.</source>
        <translation>La carpeta del programa %1 contiene los bancos del firmware y, en su tessel.ini, los desplazamientos de las tablas que venían con ellos.</translation>
    </message>
    <message>
        <source>Firmware banks</source>
        <translation>Bancos del firmware</translation>
    </message>
    <message>
        <source>Table offsets</source>
        <translation>Desplazamientos de las tablas</translation>
    </message>
    <message>
        <source>&amp;Name table, 0 to %1:</source>
        <translation>Tabla de &amp;nombres, de 0 a %1:</translation>
    </message>
    <message>
        <source>&amp;Register table, 0 to %1:</source>
        <translation>Tabla de &amp;registros, de 0 a %1:</translation>
    </message>
    <message>
        <source>Choose...</source>
        <translation>Elegir...</translation>
    </message>
    <message>
        <source>Choose the file to copy in as %1</source>
        <translation>Elegir el archivo que se copia como %1</translation>
    </message>
    <message>
        <source>Save copies %1 here.</source>
        <translation>Al guardar, se copia %1 aquí.</translation>
    </message>
    <message>
        <source>Missing: choose the file that came with the cartridge firmware.</source>
        <translation>Falta: elija el archivo que venía con el firmware del cartucho.</translation>
    </message>
    <message>
        <source>%1 bytes.</source>
        <translation>%1 bytes.</translation>
    </message>
    <message>
        <source>%1 bytes, not %2: the image gets it fitted to that size.</source>
        <translation>%1 bytes, no %2: la imagen lo recibe ajustado a ese tamaño.</translation>
    </message>
</context>
<context>
    <name>tessel::FolderBrowser</name>
    <message>
        <source>The file list has no entry %1.</source>
        <translation>La lista de archivos no tiene la entrada %1.</translation>
    </message>
    <message>
        <source>The file %1 cannot be opened: its name is not valid text on this system. Rename the file and choose it again.</source>
        <translation>No se puede abrir el archivo %1: su nombre no es texto válido en este sistema. Cambie el nombre del archivo y vuelva a elegirlo.</translation>
    </message>
</context>
<context>
    <name>tessel::HelpWindow</name>
    <message>
        <source>Tessel Zizerev Help</source>
        <translation>Ayuda de Tessel Zizerev</translation>
    </message>
    <message>
        <source>Help text</source>
        <translation>Texto de ayuda</translation>
    </message>
</context>
<context>
    <name>tessel::ImageContentsWindow</name>
    <message>
        <source>Image Contents: %1</source>
        <translation>Contenido de la imagen: %1</translation>
    </message>
    <message>
        <source>The flash image %1 holds these ten snapshots, in menu order.</source>
        <translation>La imagen flash %1 contiene estas diez instantáneas, en el orden del menú.</translation>
    </message>
    <message>
        <source>Menu names</source>
        <translation>Nombres de menú</translation>
    </message>
    <message>
        <source>%1. %2</source>
        <translation>%1. %2</translation>
    </message>
    <message>
        <source>What the image could not keep</source>
        <translation>Lo que la imagen no pudo conservar</translation>
    </message>
    <message>
        <source>&amp;Take Apart...</source>
        <translation>&amp;Descomponer...</translation>
    </message>
    <message>
        <source>Write the ten snapshots and their compilation into a folder, and list them.</source>
        <translation>Escribe las diez instantáneas y su recopilación en una carpeta, y las pone en la lista.</translation>
    </message>
    <message>
        <source>%1 loading screen</source>
        <translation>Pantalla de carga de %1</translation>
    </message>
</context>
<context>
    <name>tessel::ListHistory</name>
    <message>
        <source>&amp;Undo Add</source>
        <translation>&amp;Deshacer añadir</translation>
    </message>
    <message>
        <source>&amp;Redo Add</source>
        <translation>&amp;Rehacer añadir</translation>
    </message>
    <message>
        <source>&amp;Undo Add Folder</source>
        <translation>&amp;Deshacer Añadir carpeta</translation>
    </message>
    <message>
        <source>&amp;Redo Add Folder</source>
        <translation>&amp;Rehacer Añadir carpeta</translation>
    </message>
    <message>
        <source>&amp;Undo Drop</source>
        <translation>&amp;Deshacer soltar</translation>
    </message>
    <message>
        <source>&amp;Redo Drop</source>
        <translation>&amp;Rehacer soltar</translation>
    </message>
    <message>
        <source>&amp;Undo Delete</source>
        <translation>&amp;Deshacer quitar</translation>
    </message>
    <message>
        <source>&amp;Redo Delete</source>
        <translation>&amp;Rehacer quitar</translation>
    </message>
    <message>
        <source>&amp;Undo Rename</source>
        <translation>&amp;Deshacer cambiar nombre</translation>
    </message>
    <message>
        <source>&amp;Redo Rename</source>
        <translation>&amp;Rehacer cambiar nombre</translation>
    </message>
    <message>
        <source>&amp;Undo Move</source>
        <translation>&amp;Deshacer mover</translation>
    </message>
    <message>
        <source>&amp;Redo Move</source>
        <translation>&amp;Rehacer mover</translation>
    </message>
    <message>
        <source>&amp;Undo Move Up</source>
        <translation>&amp;Deshacer subir</translation>
    </message>
    <message>
        <source>&amp;Redo Move Up</source>
        <translation>&amp;Rehacer subir</translation>
    </message>
    <message>
        <source>&amp;Undo Move Down</source>
        <translation>&amp;Deshacer bajar</translation>
    </message>
    <message>
        <source>&amp;Redo Move Down</source>
        <translation>&amp;Rehacer bajar</translation>
    </message>
    <message>
        <source>&amp;Undo New</source>
        <translation>&amp;Deshacer Nuevo</translation>
    </message>
    <message>
        <source>&amp;Redo New</source>
        <translation>&amp;Rehacer Nuevo</translation>
    </message>
    <message>
        <source>&amp;Undo Open Compilation</source>
        <translation>&amp;Deshacer Abrir recopilación</translation>
    </message>
    <message>
        <source>&amp;Redo Open Compilation</source>
        <translation>&amp;Rehacer Abrir recopilación</translation>
    </message>
    <message>
        <source>&amp;Undo Open Flash Image</source>
        <translation>&amp;Deshacer Abrir imagen flash</translation>
    </message>
    <message>
        <source>&amp;Redo Open Flash Image</source>
        <translation>&amp;Rehacer Abrir imagen flash</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Deshacer</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rehacer</translation>
    </message>
    <message>
        <source>&amp;Undo Trainers</source>
        <translation>&amp;Deshacer trucos</translation>
    </message>
    <message>
        <source>&amp;Redo Trainers</source>
        <translation>&amp;Rehacer trucos</translation>
    </message>
</context>
<context>
    <name>tessel::MachineMarks</name>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>tessel::MainWindow</name>
    <message>
        <source>Snapshots SNA   </source>
        <translation>Instantáneas SNA   </translation>
    </message>
    <message>
        <source>Snapshots SNA</source>
        <translation>Instantáneas SNA</translation>
    </message>
    <message>
        <source>Snapshot files</source>
        <translation>Archivos de instantáneas</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Carpetas</translation>
    </message>
    <message>
        <source>Drives</source>
        <translation>Unidades</translation>
    </message>
    <message>
        <source>SNAs Selected</source>
        <translation>SNA seleccionados</translation>
    </message>
    <message>
        <source>Please Wait !</source>
        <translation>¡Espere, por favor!</translation>
    </message>
    <message>
        <source>SNAs selected</source>
        <translation>SNA seleccionados</translation>
    </message>
    <message>
        <source>Create Flash</source>
        <translation>Crear Flash</translation>
    </message>
    <message>
        <source>Crear archivo FLASH</source>
        <translation>Crear archivo FLASH</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Nuevo</translation>
    </message>
    <message>
        <source>&amp;Open Compilation...</source>
        <translation>&amp;Abrir recopilación...</translation>
    </message>
    <message>
        <source>&amp;Save Compilation...</source>
        <translation>&amp;Guardar recopilación...</translation>
    </message>
    <message>
        <source>&amp;Recent Compilations</source>
        <translation>Recopilaciones &amp;recientes</translation>
    </message>
    <message>
        <source>Open Flash &amp;Image...</source>
        <translation>Abrir &amp;imagen flash...</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Herramientas</translation>
    </message>
    <message>
        <source>&amp;Burn EPROM</source>
        <translation>&amp;Grabar EPROM</translation>
    </message>
    <message>
        <source>Test &amp;SNA</source>
        <translation>Probar &amp;SNA</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;yuda</translation>
    </message>
    <message>
        <source>A&amp;bout...</source>
        <translation>&amp;Acerca de...</translation>
    </message>
    <message>
        <source>This funtion is not implemeted yet.<byte value="xd"/>Stay tunned: %1</source>
        <translation>Esta función aún no está disponible.<byte value="xd"/>Permanezca atento: %1</translation>
    </message>
    <message>
        <source>Tessel Burning</source>
        <translation>Grabación Tessel</translation>
    </message>
    <message>
        <source>The file %1 cannot be opened: its name is not valid text on this system. Rename the file to add it.</source>
        <translation>No se puede abrir el archivo %1: su nombre no es texto válido en este sistema. Cambie el nombre del archivo para añadirlo.</translation>
    </message>
    <message>
        <source>&amp;Add Folder...</source>
        <translation>Añadir &amp;carpeta...</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edición</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>Cambiar &amp;nombre</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>S&amp;ubir</translation>
    </message>
    <message>
        <source>Move &amp;Down</source>
        <translation>&amp;Bajar</translation>
    </message>
    <message>
        <source>%1[*] - %2</source>
        <translation>%1[*] - %2</translation>
    </message>
    <message>
        <source>Image &amp;Contents...</source>
        <translation>&amp;Contenido de una imagen...</translation>
    </message>
    <message>
        <source>&amp;Firmware...</source>
        <translation>&amp;Firmware...</translation>
    </message>
    <message>
        <source>Select a flash image to look into...</source>
        <translation>Seleccione una imagen flash que examinar...</translation>
    </message>
    <message>
        <source>&amp;Trainers...</source>
        <translation>&amp;Trucos...</translation>
    </message>
</context>
<context>
    <name>tessel::NameEditor</name>
    <message>
        <source>Menu name</source>
        <translation>Nombre de menú</translation>
    </message>
</context>
<context>
    <name>tessel::NamingDialog</name>
    <message>
        <source>%1 loading screen</source>
        <translation>Pantalla de carga de %1</translation>
    </message>
    <message>
        <source>&amp;Skip</source>
        <translation>&amp;Omitir</translation>
    </message>
    <message>
        <source>Leave this file out and go on with the next.</source>
        <translation>Deja fuera este archivo y sigue con el siguiente.</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>&amp;Detener</translation>
    </message>
    <message>
        <source>Leave this file and the rest out.</source>
        <translation>Deja fuera este archivo y los demás.</translation>
    </message>
</context>
<context>
    <name>tessel::ScreenPreview</name>
    <message>
        <source>%1 loading screen</source>
        <translation>Pantalla de carga de %1</translation>
    </message>
</context>
<context>
    <name>tessel::SnapshotList</name>
    <message>
        <source>SNAPSHOT</source>
        <translation>ARCHIVO</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>NOMBRE</translation>
    </message>
    <message>
        <source>Trainers applied in the image: %1.</source>
        <translation>Trucos aplicados en la imagen: %1.</translation>
    </message>
</context>
<context>
    <name>tessel::TrainersWindow</name>
    <message>
        <source>%1: a value you give</source>
        <translation>%1: un valor que usted da</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Trainers for &quot;%1&quot;</source>
        <translation>Trucos para «%1»</translation>
    </message>
    <message>
        <source>Trainers</source>
        <translation>Trucos</translation>
    </message>
    <message>
        <source>Trainer</source>
        <translation>Truco</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Nota</translation>
    </message>
    <message>
        <source>&amp;Open Trainer File...</source>
        <translation>&amp;Abrir archivo de trucos...</translation>
    </message>
    <message>
        <source>Select a trainer file...</source>
        <translation>Elija un archivo de trucos...</translation>
    </message>
    <message>
        <source>Trainer files (*.pok *.POK)</source>
        <translation>Archivos de trucos (*.pok *.POK)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Todos los archivos (*)</translation>
    </message>
    <message>
        <source>Chosen earlier; the trainer file does not hold it.</source>
        <translation>Elegido antes; el archivo de trucos no lo contiene.</translation>
    </message>
    <message>
        <source>May be for another version of the game: the snapshot does not hold the bytes it expects to replace.</source>
        <translation>Puede ser para otra versión del juego: la instantánea no contiene los bytes que espera sustituir.</translation>
    </message>
    <message>
        <source>Asks for a value when chosen.</source>
        <translation>Pide un valor al elegirlo.</translation>
    </message>
    <message>
        <source>No trainer file was found for %1 (the same name ending in .pok, beside it or in a POKES folder there). Open one to choose from its trainers.</source>
        <translation>No se ha encontrado ningún archivo de trucos para %1 (el mismo nombre terminado en .pok, a su lado o en una carpeta POKES allí). Abra uno para elegir entre sus trucos.</translation>
    </message>
    <message>
        <source>Trainers for %1 from %2. The chosen ones are written into the snapshot&apos;s memory in the image; the snapshot file is not changed.</source>
        <translation>Trucos para %1 de %2. Los elegidos se escriben en la memoria de la instantánea en la imagen; el archivo de la instantánea no cambia.</translation>
    </message>
    <message>
        <source>(no name, line %1)</source>
        <translation>(sin nombre, línea %1)</translation>
    </message>
    <message>
        <source>Lines of the trainer file that belong to no trainer:
%1</source>
        <translation>Líneas del archivo de trucos que no pertenecen a ningún truco:
%1</translation>
    </message>
    <message>
        <source>This trainer cannot be used. %1</source>
        <extracomment>%1 is a sentence of its own that names the line of the trainer file.</extracomment>
        <translation>Este truco no se puede usar. %1</translation>
    </message>
</context>
</TS>
